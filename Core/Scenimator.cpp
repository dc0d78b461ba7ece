#include "Core/Scenimator.h"

#include <atomic>
#include <cassert>
#include <new>
#include <stdexcept>

#include "Core/Animation.h"
#include "Core/BrushBase.h"
#include "Core/ControllerBase.h"
#include "Core/ExecutableBase.h"
#include "Core/Factory.h"
#include "Core/GeometryBase.h"
#include "Core/Image.h"
#include "Gfx/RenderTarget.h"

namespace ZEL {

namespace {

template <typename Table, typename Object>
void AddTo(Table& table, Object object, const std::string& name, const char* phrase) {
    if (!table.emplace(name, std::move(object)).second) {
        throw std::invalid_argument(name + phrase);
    }
}

template <typename Table>
typename Table::mapped_type FindIn(const Table& table, const std::string& name) {
    auto found = table.find(name);
    return found == table.end() ? nullptr : found->second;
}

}  // namespace

namespace {
std::atomic<uint64_t> g_NextSerial{1};
}

Scenimator::Scenimator(Gfx::RenderTarget* renderTarget)
    : m_RT(renderTarget), m_Serial(g_NextSerial++) {
    ResetTransformStack(Gfx::Matrix3x2::Identity());
}

Scenimator::~Scenimator() {
    if (m_MaskCache) {
        m_MaskCache->DropMasks(m_Serial);
    }
}

template <typename Op>
int Scenimator::Guarded(Op op) {
    try {
        return op();
    } catch (const std::bad_alloc& e) {
        m_ErrorText = e.what();
        return kOutOfMemory;
    } catch (const std::runtime_error& e) {
        m_ErrorText = e.what();
        return kRuntimeError;
    } catch (const std::logic_error& e) {
        m_ErrorText = e.what();
        return kLogicError;
    } catch (...) {
        m_ErrorText = "unknown error";
        return kRuntimeError;
    }
}

int Scenimator::ReadVariable(const std::string& name, float* value) {
    auto found = m_Variables.find(name);
    if (found == m_Variables.end()) {
        m_ErrorText = "trying to read non-existing variable";
        return kNotFound;
    }
    *value = found->second;
    return kSuccess;
}

int Scenimator::WriteVariable(const std::string& name, float value) {
    auto found = m_Variables.find(name);
    if (found == m_Variables.end()) {
        m_ErrorText = "trying to write non-existing variable";
        return kNotFound;
    }
    found->second = value;
    return kSuccess;
}

int Scenimator::Render(const Gfx::Matrix3x2& base, Gfx::Matrix3x2* top) {
    return Guarded([&] {
        RenderPass(base, top);
        return kSuccess;
    });
}

void Scenimator::RenderPass(const Gfx::Matrix3x2& base, Gfx::Matrix3x2* top) {
    ResetTransformStack(base);
    for (const auto& entry : m_Animations) {
        const Animation& animation = *entry.second;
        if (animation.m_Active && animation.m_RenderFunction) {
            animation.m_RenderFunction->Execute();
        }
    }
    CleanupResources();
    if (top) {
        *top = GetTopTransform();
    }
}

void Scenimator::CleanupResources() {
    for (const auto& entry : m_Geometries) {
        entry.second->Cleanup();
    }
    for (const auto& entry : m_Brushes) {
        entry.second->Cleanup();
    }
    for (const auto& entry : m_Transforms) {
        entry.second->Cleanup();
    }
}

int Scenimator::Update(uint32_t time) {
    return Guarded([&] { return UpdatePass(time); });
}

int Scenimator::UpdatePass(uint32_t time) {
    auto current = m_Animations.find(m_CurrentAnimation);
    if (current == m_Animations.end()) {
        m_ErrorText = m_CurrentAnimation + " animation does not exist";
        return kNotFound;
    }
    // Held here: a hand-over may replace the current animation while it is in use.
    const std::shared_ptr<Animation> animation = current->second;
    if (animation->m_Active && animation->m_Controller) {
        animation->m_Controller->Advance(time);
    }
    if (animation->m_Controller &&
        animation->m_Controller->GetState() == ControllerBase::kFinished) {
        if (animation->m_TransitionTarget == "null") {
            RaiseRuntimeError(m_CurrentAnimation +
                              " is not a looping animation but it has a null transition target");
        }
        PlayAnimation(animation->m_TransitionTarget, time);
    }
    for (const auto& child : m_ChildZels) {
        child.second->Update(time);
    }
    for (const auto& bitmap : m_Bitmaps) {
        bitmap.second->OnUpdate();
    }
    return kSuccess;
}

int Scenimator::PlayAnimation(const std::string& name, uint32_t time) {
    return Guarded([&] { return PlayPass(name, time); });
}

int Scenimator::PlayPass(const std::string& name, uint32_t time) {
    auto target = m_Animations.find(name);
    if (target == m_Animations.end()) {
        m_ErrorText = name + " animation does not exist";
        return kNotFound;
    }
    auto current = m_Animations.find(m_CurrentAnimation);
    if (current != m_Animations.end()) {
        current->second->m_Active = false;
    }
    if (target->second->m_Controller) {
        target->second->m_Controller->Start(time);
    }
    target->second->m_Active = true;
    for (const auto& child : m_ChildZels) {
        child.second->PlayAnimation("MainAnim", time);
    }
    m_CurrentAnimation = name;
    return kSuccess;
}

int Scenimator::HitTest(int32_t x, int32_t y, bool* hit) {
    return Guarded([&] {
        HitTestPass(x, y, hit);
        return kSuccess;
    });
}

bool Scenimator::HitTestPoint(int32_t x, int32_t y, Gfx::Point2F* point) const {
    Gfx::Matrix3x2 inverse = m_HitTestTransform;
    // Nothing drawn through a singular transform can be hit.
    if (!Gfx::Invert(inverse)) {
        return false;
    }
    *point = inverse.Apply(Gfx::Point2F{static_cast<float>(x), static_cast<float>(y)});
    return true;
}

void Scenimator::HitTestPass(int32_t x, int32_t y, bool* hit) {
    *hit = false;
    Gfx::Point2F point;
    if (!HitTestPoint(x, y, &point)) {
        return;
    }
    for (const auto& entry : m_Geometries) {
        entry.second->HitTest(point, hit);
    }
    // Geometries built for the test must not carry their values into the next frame.
    CleanupResources();
}

int Scenimator::ListHitTestShapes(int32_t x, int32_t y, std::vector<HitTestShape>* shapes) {
    return Guarded([&] {
        ListHitTestPass(x, y, shapes);
        return kSuccess;
    });
}

void Scenimator::ListHitTestPass(int32_t x, int32_t y, std::vector<HitTestShape>* shapes) {
    shapes->clear();
    Gfx::Point2F point;
    const bool invertible = HitTestPoint(x, y, &point);
    for (const auto& entry : m_Geometries) {
        HitTestShape shape;
        if (!entry.second->m_HitTest || !entry.second->Bounds(m_HitTestTransform, &shape.bounds)) {
            continue;
        }
        shape.name = entry.first;
        if (invertible) {
            entry.second->HitTest(point, &shape.contains);
        }
        shapes->push_back(std::move(shape));
    }
    CleanupResources();
}

void Scenimator::AddGeometry(std::shared_ptr<GeometryBase> object, const std::string& name) {
    AddTo(m_Geometries, std::move(object), name, " was defined as a geometry before");
}
void Scenimator::AddBrush(std::shared_ptr<BrushBase> object, const std::string& name) {
    AddTo(m_Brushes, std::move(object), name, " was defined as a brush before");
}
void Scenimator::AddBitmap(std::shared_ptr<Image> object, const std::string& name) {
    AddTo(m_Bitmaps, std::move(object), name, " was defined as a bitmap before");
}
void Scenimator::AddTransform(std::shared_ptr<TransformResource> object, const std::string& name) {
    AddTo(m_Transforms, std::move(object), name, " was defined as a transform before");
}
void Scenimator::AddChildZel(std::shared_ptr<IScenimator> object, const std::string& name) {
    AddTo(m_ChildZels, std::move(object), name, " was defined as a child zel before");
}
void Scenimator::AddExecutable(std::shared_ptr<ExecutableBase> object, const std::string& name) {
    AddTo(m_Executables, std::move(object), name, " was defined as an executable before");
}
void Scenimator::AddController(std::shared_ptr<ControllerBase> object, const std::string& name) {
    AddTo(m_Controllers, std::move(object), name, " was defined as a controller before");
}
void Scenimator::AddAnimation(std::shared_ptr<Animation> object, const std::string& name) {
    AddTo(m_Animations, std::move(object), name, " was defined as an animation before");
}

std::shared_ptr<GeometryBase> Scenimator::FindGeometry(const std::string& name) const {
    return FindIn(m_Geometries, name);
}
std::shared_ptr<BrushBase> Scenimator::FindBrush(const std::string& name) const {
    return FindIn(m_Brushes, name);
}
std::shared_ptr<Image> Scenimator::FindBitmap(const std::string& name) const {
    return FindIn(m_Bitmaps, name);
}
std::shared_ptr<TransformResource> Scenimator::FindTransform(const std::string& name) const {
    return FindIn(m_Transforms, name);
}
std::shared_ptr<IScenimator> Scenimator::FindChildZel(const std::string& name) const {
    return FindIn(m_ChildZels, name);
}
std::shared_ptr<ExecutableBase> Scenimator::FindExecutable(const std::string& name) const {
    return FindIn(m_Executables, name);
}
std::shared_ptr<ControllerBase> Scenimator::FindController(const std::string& name) const {
    return FindIn(m_Controllers, name);
}

void Scenimator::ResetTransformStack(const Gfx::Matrix3x2& base) {
    m_TransformStack.clear();
    m_TransformStack.push_back(base);
    ApplyTopTransform();
}

void Scenimator::PushTransform(TransformResource& transform) {
    const std::shared_ptr<Gfx::Matrix3x2> t = transform.GetResource();
    m_TransformStack.push_back(Gfx::Multiply(*t, GetTopTransform()));
    ApplyTopTransform();
}

void Scenimator::PopTransform() {
    if (m_TransformStack.size() <= 1) {
        RaiseRuntimeError("trying to run PopTransform while transform stack is empty");
    }
    m_TransformStack.pop_back();
    ApplyTopTransform();
}

Gfx::Matrix3x2 Scenimator::GetTopTransform() const {
    assert(m_TransformStack.size() > 0 && "m_TransformStack.size() > 0");
    return m_TransformStack.back();
}

void Scenimator::ApplyTopTransform() {
    if (m_RT) {
        m_RT->SetTransform(GetTopTransform());
    }
}

void Scenimator::RaiseRuntimeError(const std::string& text) {
    throw std::runtime_error("Scenimator Runtime Blocking Error:::" + text);
}

}  // namespace ZEL
