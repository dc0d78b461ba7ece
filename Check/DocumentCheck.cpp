#include "Check/DocumentCheck.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "Check/AnimationChain.h"
#include "Check/DocumentTree.h"
#include "Check/ImageProblem.h"
#include "Check/Lint.h"
#include "Check/LoadError.h"
#include "Check/ReadWarnings.h"
#include "Check/TimelineRun.h"
#include "Core/Bitmap.h"
#include "Core/CheckResult.h"
#include "Core/Scenimator.h"
#include "Gfx/RenderTarget.h"

namespace ZEL {

namespace {

// A small target: the run looks for failures, not at pixels (800x600 DIPs at a quarter).
constexpr uint32_t kTargetWidth = 200, kTargetHeight = 150;  // pixels
constexpr float kTargetDpi = 24;

}  // namespace

std::string FileIdentity(const std::string& path) {
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(ToNativePath(path), error);
    return error ? path : canonical.string();
}

DocumentCheck::DocumentCheck(Settings settings) : m_Settings(std::move(settings)) {
    m_Factory.SetReadRecord(&m_Record);
}

DocumentCheck::~DocumentCheck() {
    m_Document.reset();  // before the factory whose mask cache it uses
}

bool DocumentCheck::Load() {
    if (Gfx::RenderTarget::Create(kTargetWidth, kTargetHeight, kTargetDpi, &m_Target) != Gfx::kOk) {
        m_Static.push_back(
            Diagnostic::Error(m_Settings.document, 0, "unable to create render target"));
        return false;
    }
    m_Target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    IScenimator* loaded = nullptr;
    const int result =
        m_Factory.CreateScenimator(m_Settings.document, m_Settings.start, m_Target.get(), &loaded);
    for (const ReadRecord::Forgiveness& forgiven : m_Record.forgiven) {
        m_Static.push_back(ForgivenWarning(forgiven));
    }
    if (result != kSuccess) {
        m_Static.push_back(LoadError(m_Settings.document, m_Factory.GetErrorText(), m_Record));
        return false;
    }
    m_Document.reset(static_cast<Scenimator*>(loaded));
    return true;
}

std::vector<std::string> DocumentCheck::ChildFiles() const {
    std::vector<std::string> files;
    for (const auto& entry : m_Record.files) {
        if (entry.first != m_Document.get()) {
            files.push_back(FileIdentity(entry.second));
        }
    }
    return files;
}

void DocumentCheck::Check() {
    const DocumentTree tree(*m_Document, m_Record);
    ExplainedTexts explained;
    LintNames(tree, &m_Static);
    LintVariables(tree, &m_Static, &explained);
    LintAnimations(tree, &m_Static, &explained);
    LintTransforms(tree, &m_Static);

    const uint32_t start = m_Settings.start;
    uint64_t end = uint64_t{start} + kPlayersEnd;
    if (m_Settings.run) {
        end = uint64_t{start} + *m_Settings.run;
    } else if (const auto chain = AnimationChainEnd(*m_Document, start)) {
        end = chain->time;
    }
    TimelineRun run(*m_Document, *m_Target, tree, explained);
    run.Play(start, static_cast<uint32_t>(std::min<uint64_t>(end, UINT32_MAX)), &m_Runtime);

    // Images the run never drew, or drew without a note on why they failed.
    for (const DocumentTree::Node& node : tree.Nodes()) {
        for (const auto& entry : node.document->Bitmaps()) {
            const auto* bitmap = dynamic_cast<const Bitmap*>(entry.second.get());
            if (!bitmap || bitmap->IsBuilt() || run.ImagesNoted().count(bitmap)) {
                continue;
            }
            const std::string problem = ImageProblem(*bitmap);
            if (!problem.empty()) {
                const ReadPlace place = tree.PlaceOf(bitmap, node);
                m_Static.push_back(Diagnostic::Warning(
                    place.file, place.line,
                    "image \"" + entry.first + "\" cannot be drawn: " + problem));
            }
        }
    }
}

std::vector<Diagnostic> DocumentCheck::Diagnostics() const {
    // Files in the order the load read them, the checked document first.
    std::map<std::string, size_t> order{{m_Settings.document, 0}};
    for (const Diagnostic& d : m_Static) {
        order.emplace(d.file, order.size());
    }
    std::vector<Diagnostic> all = m_Static;
    std::stable_sort(all.begin(), all.end(), [&](const Diagnostic& a, const Diagnostic& b) {
        return std::make_tuple(order[a.file], a.line) < std::make_tuple(order[b.file], b.line);
    });
    all.insert(all.end(), m_Runtime.begin(), m_Runtime.end());
    std::set<std::tuple<std::string, int32_t, std::string>> seen;
    std::vector<Diagnostic> unique;
    for (Diagnostic& d : all) {
        if (seen.insert({d.file, d.line, d.text}).second) {
            unique.push_back(std::move(d));
        }
    }
    return unique;
}

}  // namespace ZEL
