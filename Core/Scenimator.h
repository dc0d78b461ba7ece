#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/HitTestShape.h"
#include "Core/IScenimator.h"
#include "Core/Transforms.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class Animation;
class BrushBase;
class ControllerBase;
class ExecutableBase;
class Factory;
class GeometryBase;
class Image;

// A loaded document: its variables, eight name tables, current animation, transform stack,
// captured hit-test transform and last error text.
class Scenimator : public IScenimator {
  public:
    explicit Scenimator(Gfx::RenderTarget* renderTarget);
    ~Scenimator() override;

    int ReadVariable(const std::string& name, float* value) override;
    int WriteVariable(const std::string& name, float value) override;
    int Render(const Gfx::Matrix3x2& base, Gfx::Matrix3x2* top) override;
    int Update(uint32_t time) override;
    int HitTest(int32_t x, int32_t y, bool* hit) override;
    int PlayAnimation(const std::string& name, uint32_t time) override;
    const std::string& GetErrorText() const override { return m_ErrorText; }

    // The animation Update runs now ("MainAnim" until the first hand-over).
    const std::string& CurrentAnimation() const { return m_CurrentAnimation; }
    // Every geometry marked for hit testing, in name order, and whether (x, y) is inside
    // it: what HitTest answers for, one geometry at a time.
    int ListHitTestShapes(int32_t x, int32_t y, std::vector<HitTestShape>* shapes);

    // Filled by the reader; a duplicate name throws std::invalid_argument.
    void AddGeometry(std::shared_ptr<GeometryBase> object, const std::string& name);
    void AddBrush(std::shared_ptr<BrushBase> object, const std::string& name);
    void AddBitmap(std::shared_ptr<Image> object, const std::string& name);
    void AddTransform(std::shared_ptr<TransformResource> object, const std::string& name);
    void AddChildZel(std::shared_ptr<IScenimator> object, const std::string& name);
    void AddExecutable(std::shared_ptr<ExecutableBase> object, const std::string& name);
    void AddController(std::shared_ptr<ControllerBase> object, const std::string& name);
    void AddAnimation(std::shared_ptr<Animation> object, const std::string& name);

    // Empty holders for names not in the table.
    std::shared_ptr<GeometryBase> FindGeometry(const std::string& name) const;
    std::shared_ptr<BrushBase> FindBrush(const std::string& name) const;
    std::shared_ptr<Image> FindBitmap(const std::string& name) const;
    std::shared_ptr<TransformResource> FindTransform(const std::string& name) const;
    std::shared_ptr<IScenimator> FindChildZel(const std::string& name) const;
    std::shared_ptr<ExecutableBase> FindExecutable(const std::string& name) const;
    std::shared_ptr<ControllerBase> FindController(const std::string& name) const;

    // Creates the variable or resets it to 0; the slot stays valid for the document's life.
    float* CreateVariable(const std::string& name) {
        float& slot = m_Variables[name];
        slot = 0.0f;
        return &slot;
    }
    // The variable's storage, or null when the document has no such variable.
    float* FindVariable(const std::string& name) {
        auto found = m_Variables.find(name);
        return found == m_Variables.end() ? nullptr : &found->second;
    }
    const std::map<std::string, float>& Variables() const { return m_Variables; }
    const std::map<std::string, std::shared_ptr<IScenimator>>& ChildZels() const {
        return m_ChildZels;
    }
    // The other tables, read by checks of a loaded document.
    const std::map<std::string, std::shared_ptr<GeometryBase>>& Geometries() const {
        return m_Geometries;
    }
    const std::map<std::string, std::shared_ptr<BrushBase>>& Brushes() const { return m_Brushes; }
    const std::map<std::string, std::shared_ptr<Image>>& Bitmaps() const { return m_Bitmaps; }
    const std::map<std::string, std::shared_ptr<TransformResource>>& Transforms() const {
        return m_Transforms;
    }
    const std::map<std::string, std::shared_ptr<ExecutableBase>>& Executables() const {
        return m_Executables;
    }
    const std::map<std::string, std::shared_ptr<ControllerBase>>& Controllers() const {
        return m_Controllers;
    }
    const std::map<std::string, std::shared_ptr<Animation>>& Animations() const {
        return m_Animations;
    }

    void ResetTransformStack(const Gfx::Matrix3x2& base);
    void PushTransform(TransformResource& transform);
    void PopTransform();
    Gfx::Matrix3x2 GetTopTransform() const;
    // Sets the top of the stack on the render target again.
    void ApplyTopTransform();
    void SetHitTestTransform(const Gfx::Matrix3x2& m) { m_HitTestTransform = m; }
    Gfx::RenderTarget* GetRenderTarget() const { return m_RT; }
    // Unique for the process's life, unlike an address, which a later document may reuse.
    uint64_t Serial() const { return m_Serial; }
    // The factory whose mask cache holds this document's masks, told when it goes.
    void SetMaskCache(Factory* factory) { m_MaskCache = factory; }

    [[noreturn]] static void RaiseRuntimeError(const std::string& text);

    // Pixels one document may decode in all, so a few huge images cannot exhaust memory.
    static constexpr uint64_t kMaxDecodedPixels = 64ull * 1000 * 1000;
    uint64_t DecodedPixelsLeft() const { return kMaxDecodedPixels - m_DecodedPixels; }
    void ChargeDecodedPixels(uint64_t pixels) { m_DecodedPixels += pixels; }

  private:
    void RenderPass(const Gfx::Matrix3x2& base, Gfx::Matrix3x2* top);
    int UpdatePass(uint32_t time);
    int PlayPass(const std::string& name, uint32_t time);
    void HitTestPass(int32_t x, int32_t y, bool* hit);
    void ListHitTestPass(int32_t x, int32_t y, std::vector<HitTestShape>* shapes);
    // (x, y) in document space; false when the captured transform cannot be inverted.
    bool HitTestPoint(int32_t x, int32_t y, Gfx::Point2F* point) const;
    void CleanupResources();
    // Runs op and turns any exception into a result code and the error text.
    template <typename Op>
    int Guarded(Op op);

    Gfx::RenderTarget* m_RT;
    const uint64_t m_Serial;
    Factory* m_MaskCache = nullptr;
    std::map<std::string, float> m_Variables;
    std::map<std::string, std::shared_ptr<GeometryBase>> m_Geometries;
    std::map<std::string, std::shared_ptr<BrushBase>> m_Brushes;
    std::map<std::string, std::shared_ptr<Image>> m_Bitmaps;
    std::map<std::string, std::shared_ptr<TransformResource>> m_Transforms;
    std::map<std::string, std::shared_ptr<IScenimator>> m_ChildZels;
    std::map<std::string, std::shared_ptr<ExecutableBase>> m_Executables;
    std::map<std::string, std::shared_ptr<ControllerBase>> m_Controllers;
    std::map<std::string, std::shared_ptr<Animation>> m_Animations;
    std::string m_CurrentAnimation = "MainAnim";
    std::vector<Gfx::Matrix3x2> m_TransformStack;
    // Identity until captured, so hit tests before the first capture use document space.
    Gfx::Matrix3x2 m_HitTestTransform;
    std::string m_ErrorText;
    uint64_t m_DecodedPixels = 0;
};

}  // namespace ZEL
