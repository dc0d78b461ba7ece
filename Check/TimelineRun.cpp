#include "Check/TimelineRun.h"

#include <cmath>

#include "Check/RuntimeNotes.h"
#include "Core/Scenimator.h"
#include "Gfx/RenderTarget.h"

namespace ZEL {

namespace {
constexpr uint32_t kDrawEvery = 6;  // frames: ten drawings a second of document time
}

TimelineRun::TimelineRun(Scenimator& top, Gfx::RenderTarget& target, const DocumentTree& tree,
                         const ExplainedTexts& explained)
    : m_Top(top), m_Target(target), m_Tree(tree), m_Explained(explained) {}

void TimelineRun::Play(uint32_t from, uint32_t to, std::vector<Diagnostic>* out) {
    for (uint64_t k = 0;; ++k) {
        // The times a player running at 60 frames a second shows.
        const uint64_t time = from + static_cast<uint64_t>(std::llround(k * 1000.0 / 60.0));
        if (time > to) {
            break;
        }
        const uint32_t t = static_cast<uint32_t>(time);
        const std::string before = m_Top.CurrentAnimation();
        if (m_Top.Update(t) != kSuccess) {
            Fail(t, m_Top.GetErrorText(), out);
            return;
        }
        Watch(t, out);
        const bool last = from + std::llround((k + 1) * 1000.0 / 60.0) > to;
        if (k % kDrawEvery == 0 || last || m_Top.CurrentAnimation() != before) {
            std::string error;
            if (!Draw(&error)) {
                Fail(t, error, out);
                return;
            }
            Watch(t, out);
        }
    }
}

bool TimelineRun::Draw(std::string* error) {
    m_Target.BeginDraw();
    m_Target.Clear(Gfx::ColorF{1, 1, 1, 1});
    if (m_Top.Render(Gfx::Matrix3x2::Identity(), nullptr) != kSuccess) {
        *error = m_Top.GetErrorText();
        m_Target.EndDraw();
        return false;
    }
    if (m_Target.EndDraw() != Gfx::kOk) {
        *error = "Rendering Error";
        return false;
    }
    return true;
}

void TimelineRun::Fail(uint32_t time, const std::string& text, std::vector<Diagnostic>* out) {
    const DocumentTree::Node& top = m_Tree.Nodes().front();
    Diagnostic error =
        Diagnostic::Error(top.file, 0, "at " + std::to_string(time) + " ms: " + text);
    for (Diagnostic& note : RuntimeNotes(m_Tree, top, text, &m_ImagesNoted)) {
        error.With(std::move(note));
    }
    out->push_back(std::move(error));
}

void TimelineRun::Watch(uint32_t time, std::vector<Diagnostic>* out) {
    for (const DocumentTree::Node& node : m_Tree.Nodes()) {
        const std::string& text = node.document->GetErrorText();
        if (text.empty() || m_Explained.count({node.document, text}) ||
            !m_Seen.insert({node.document, text}).second) {
            continue;
        }
        Diagnostic warning =
            Diagnostic::Warning(node.file, 0, "at " + std::to_string(time) + " ms: " + text);
        for (Diagnostic& note : RuntimeNotes(m_Tree, node, text, &m_ImagesNoted)) {
            warning.With(std::move(note));
        }
        warning.With(Diagnostic::Note(
            node.file, 0,
            node.isChild ? "a child document's failures do not reach the document that loads "
                           "it, which goes on as if nothing failed"
                         : "the engine ignores this failure and goes on"));
        out->push_back(std::move(warning));
    }
}

}  // namespace ZEL
