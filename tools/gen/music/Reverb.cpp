#include "Reverb.h"

#include <array>
#include <vector>

namespace AssetGen {

namespace {

constexpr std::array<int, 8> kCombFrames = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> kAllpassFrames = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;
constexpr double kInputGain = 0.015;

struct Comb {
    std::vector<double> line;
    size_t pos = 0;
    double store = 0.0;

    double process(double x, double feedback, double damp) {
        const double y = line[pos];
        store = y * (1.0 - damp) + store * damp;
        line[pos] = x + store * feedback;
        pos = (pos + 1) % line.size();
        return y;
    }
};

struct Allpass {
    std::vector<double> line;
    size_t pos = 0;

    double process(double x) {
        const double buffered = line[pos];
        line[pos] = x + buffered * 0.5;
        pos = (pos + 1) % line.size();
        return buffered - x;
    }
};

}  // namespace

void Reverb::processChannel(const std::vector<float>& in, std::vector<float>& out,
                            int spread) const {
    std::vector<Comb> combs;
    for (int frames : kCombFrames) {
        combs.push_back({std::vector<double>(frames + spread, 0.0)});
    }
    std::vector<Allpass> allpasses;
    for (int frames : kAllpassFrames) {
        allpasses.push_back({std::vector<double>(frames + spread, 0.0)});
    }
    for (size_t i = 0; i < in.size() && i < out.size(); ++i) {
        const double x = in[i] * kInputGain;
        double y = 0.0;
        for (auto& c : combs) {
            y += c.process(x, roomSize_, damping_);
        }
        for (auto& a : allpasses) {
            y = a.process(y);
        }
        out[i] += static_cast<float>(y);
    }
}

void Reverb::process(const StereoBuffer& in, StereoBuffer& out) const {
    processChannel(in.left(), out.left(), 0);
    processChannel(in.right(), out.right(), kStereoSpread);
}

}  // namespace AssetGen
