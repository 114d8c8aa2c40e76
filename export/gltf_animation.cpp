#include "export/gltf_animation.h"

#include "choreography/show_time.h"
#include "export/gltf_buffer.h"

#include <cmath>

namespace {
constexpr double PI = 3.14159265358979323846;
// Between two keys a turn moves at most this far: interpolated as a rotation it would go the
// short way round past half a turn.
constexpr float MAX_TURN_BETWEEN_KEYS_DEG = 90.0f;

struct Channel {
    int node;
    const char* path;
    const std::vector<float>* values; // per tick
    int width;                        // values per tick
    bool turn;                        // values are degrees about `axis`
    TurnAxis axis;
};

bool changes(const std::vector<float>& values, int width) {
    const auto w = static_cast<std::size_t>(width);
    for (std::size_t k = w; k < values.size(); ++k) {
        if (values[k] != values[k % w]) {
            return true;
        }
    }
    return false;
}

void addChannel(tinygltf::Model& model, tinygltf::Animation& animation, const Channel& channel) {
    const float maxStep = channel.turn ? MAX_TURN_BETWEEN_KEYS_DEG : 0.0f;
    const std::vector<std::uint32_t> keys =
        channelKeyTicks(*channel.values, channel.width, maxStep);
    std::vector<float> times, outputs;
    for (const std::uint32_t tick : keys) {
        times.push_back(static_cast<float>(tick) / static_cast<float>(TICKS_PER_SECOND));
        const auto at = static_cast<std::size_t>(tick) * static_cast<std::size_t>(channel.width);
        if (channel.turn) {
            for (const double q : turnQuaternion(channel.axis, (*channel.values)[at])) {
                outputs.push_back(static_cast<float>(q));
            }
        } else {
            const auto first = channel.values->begin() + static_cast<std::ptrdiff_t>(at);
            outputs.insert(outputs.end(), first, first + channel.width);
        }
    }
    tinygltf::AnimationSampler sampler;
    sampler.input = addFloatAccessor(model, times, 1, 0);
    sampler.output = addFloatAccessor(model, outputs, channel.turn ? 4 : channel.width, 0);
    sampler.interpolation = "LINEAR";
    animation.samplers.push_back(sampler);
    tinygltf::AnimationChannel target;
    target.sampler = static_cast<int>(animation.samplers.size() - 1);
    target.target_node = channel.node;
    target.target_path = channel.path;
    animation.channels.push_back(target);
}
} // namespace

std::vector<double> turnQuaternion(TurnAxis axis, float degrees) {
    const double half = static_cast<double>(degrees) * PI / 360.0;
    std::vector<double> q = {0.0, 0.0, 0.0, std::cos(half)};
    q[static_cast<std::size_t>(axis)] = std::sin(half);
    return q;
}

void addShowAnimation(tinygltf::Model& model, const ShowChannels& show,
                      const int (&robotNodes)[ROBOT_COUNT],
                      const int (&jointNodes)[ROBOT_COUNT][JOINT_NODE_COUNT]) {
    tinygltf::Animation animation;
    animation.name = "show";
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        const RobotChannels& robot = show.robots[i];
        std::vector<Channel> channels = {
            {robotNodes[i], "translation", &robot.position, 3, false, TurnAxis::X}};
        for (int n = 0; n < JOINT_NODE_COUNT; ++n) {
            const int node = jointNodes[i][n];
            channels.push_back({node, "rotation", &robot.angle[n], 1, true, JOINT_NODES[n].axis});
            if (!robot.offset[n].empty()) {
                channels.push_back({node, "translation", &robot.offset[n], 3, false, TurnAxis::X});
            }
        }
        for (const Channel& channel : channels) {
            if (changes(*channel.values, channel.width)) {
                addChannel(model, animation, channel);
            }
        }
    }
    model.animations.push_back(animation);
}
