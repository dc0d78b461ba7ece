#include "FidelityReport.h"

#include <cstdio>
#include <iostream>
#include <memory>

#include "Fidelity.h"
#include "Frames.h"
#include "OperationFrame.h"

namespace Bench {

namespace {

// Times in ms: the start, and two points of the moving sweep away from whole pixels.
const uint32_t kFidelityTimes[] = {0, 1234, 5678};

struct Row {
    std::string scene;
    uint32_t t = 0;
    std::string ref;  // "frame" (drawn large and averaged) or "operations" (blended one by one)
    std::vector<Deviation> byMode;
    std::string bar;  // the verdicts of the modes held to the bar
};

std::string Cell(const Row& row, double (*value)(const Deviation&), const char* format) {
    std::string cell;
    for (const Deviation& d : row.byMode) {
        char s[32];
        std::snprintf(s, sizeof s, format, value(d));
        cell += (cell.empty() ? "" : " / ") + std::string(s);
    }
    return cell;
}

void PrintTable(const std::vector<EngineMode>& modes, const std::vector<Row>& rows) {
    std::string names;
    for (const EngineMode& m : modes) names += (names.empty() ? "" : " / ") + m.name;
    std::cout << "\n| scene | t ms | reference | mean (" << names
              << ") | % off > 8 | % off > 32 | largest | bar |\n"
              << "| --- | ---: | --- | ---: | ---: | ---: | ---: | --- |\n";
    for (const Row& r : rows)
        std::cout << "| " << r.scene << " | " << r.t << " | " << r.ref << " | "
                  << Cell(
                         r, [](const Deviation& d) { return d.mean; }, "%.3f")
                  << " | "
                  << Cell(
                         r, [](const Deviation& d) { return d.OverEightPercent(); }, "%.3f")
                  << " | "
                  << Cell(
                         r, [](const Deviation& d) { return d.OverThirtyTwoPercent(); }, "%.3f")
                  << " | "
                  << Cell(
                         r, [](const Deviation& d) { return static_cast<double>(d.max); }, "%.0f")
                  << " | " << r.bar << " |\n";
}

void WritePng(const Frame& f, const std::string& pngDir, const Row& row, const std::string& what) {
    const std::string path = (std::filesystem::path(pngDir) /
                              (row.scene + "_" + std::to_string(row.t) + "_" + what + ".png"))
                                 .string();
    if (!f.WritePng(path))
        std::cerr << "zelbench: cannot write " << path << "\n";
}

// The modes' lines against one reference; the bar is judged against the reference that
// counts (judge).
void PrintRow(const std::vector<EngineMode>& modes, bool judge, Row* row, size_t* held,
              size_t* judged) {
    for (size_t m = 0; m < modes.size(); ++m) {
        const Deviation& d = row->byMode[m];
        std::printf(
            "scene=%s t=%u mode=%s ref=%s mean=%.3f over_8_pct=%.3f over_32_pct=%.3f largest=%d",
            row->scene.c_str(), row->t, modes[m].name.c_str(), row->ref.c_str(), d.mean,
            d.OverEightPercent(), d.OverThirtyTwoPercent(), d.max);
        for (size_t b = 0; judge && b < modes.size(); ++b) {
            if (modes[m].baseline || !modes[b].baseline)
                continue;
            const Bar bar = Judge(d, row->byMode[b]);
            std::printf(" bar=%s", bar.Verdict().c_str());
            row->bar += (row->bar.empty() ? "" : ", ") + modes[m].name + " " + bar.Verdict();
            *held += bar.Held();
            ++*judged;
        }
        std::printf("\n");
    }
    std::fflush(stdout);
}

// One scene at every time, against the frame drawn large (each mode's paints) and, for
// scenes of solid paints, against the frame blended operation by operation, which is the one
// the bar is judged on there. The references of a static scene are the same at every time.
void MeasureScene(const Scene& scene, const std::filesystem::path& dir,
                  const std::vector<EngineMode>& modes, const std::string& pngDir,
                  std::vector<Row>* rows, size_t* held, size_t* judged) {
    const std::string doc = WriteDocument(scene, dir);
    std::vector<std::unique_ptr<Player>> players;
    for (const EngineMode& m : modes) players.push_back(std::make_unique<Player>(doc, m.options));
    const bool solid = SolidPaintsOnly(scene);
    std::vector<Frame> exact(modes.size());
    Frame operations;
    for (const uint32_t t : kFidelityTimes) {
        Row large{scene.name, t, "frame", {}, ""}, blended{scene.name, t, "operations", {}, ""};
        if (solid && (scene.moving || operations.pixels.empty()))
            operations = OperationFrame(scene, t, Region{}, dir);
        for (size_t m = 0; m < modes.size(); ++m) {
            if (scene.moving || exact[m].pixels.empty())
                exact[m] = ExactFrame(scene, t, Region{}, dir, kExactScale, modes[m].reference);
            players[m]->Draw(t);
            const Frame f = players[m]->Pixels();
            large.byMode.push_back(Measure(f.pixels, exact[m].pixels));
            if (solid)
                blended.byMode.push_back(Measure(f.pixels, operations.pixels));
            if (!pngDir.empty()) {
                WritePng(f, pngDir, large, modes[m].name);
                WritePng(exact[m], pngDir, large, modes[m].name + "_exact");
            }
        }
        if (solid && !pngDir.empty())
            WritePng(operations, pngDir, large, "operations");
        PrintRow(modes, !solid, &large, held, judged);
        rows->push_back(large);
        if (solid) {
            PrintRow(modes, true, &blended, held, judged);
            rows->push_back(blended);
        }
    }
}

}  // namespace

bool ReportFidelity(const std::vector<Scene>& scenes, const std::filesystem::path& dir,
                    const std::string& pngDir) {
    const std::vector<EngineMode> modes = FidelityModes();
    std::vector<Row> rows;
    size_t held = 0, judged = 0;
    for (const Scene& scene : scenes)
        MeasureScene(scene, dir, modes, pngDir, &rows, &held, &judged);
    PrintTable(modes, rows);
    std::cout << "\nthe bar held on " << held << " of " << judged << " frames\n";
    return held == judged;
}

}  // namespace Bench
