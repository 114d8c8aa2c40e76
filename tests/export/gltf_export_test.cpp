#include "choreography/show_time.h"
#include "export/gltf_export.h"
#include "export/show_channels.h"
#include "robot/tree_walk.h"

#include <algorithm>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <map>
#include <tiny_gltf.h>

namespace {
// The pictures are kept as they are: this test looks at the scene, not at their pixels.
bool keepImageBytes(tinygltf::Image* image, const int, std::string*, std::string*, int, int,
                    const unsigned char* bytes, int size, void*) {
    image->image.assign(bytes, bytes + size);
    return true;
}

std::vector<float> floats(const tinygltf::Model& model, int accessorIndex) {
    const tinygltf::Accessor& accessor = model.accessors[static_cast<std::size_t>(accessorIndex)];
    const tinygltf::BufferView& view =
        model.bufferViews[static_cast<std::size_t>(accessor.bufferView)];
    const int width = tinygltf::GetNumComponentsInType(static_cast<std::uint32_t>(accessor.type));
    std::vector<float> values(accessor.count * static_cast<std::size_t>(width));
    std::memcpy(values.data(), model.buffers[0].data.data() + view.byteOffset + accessor.byteOffset,
                values.size() * sizeof(float));
    return values;
}

class GltfExport : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bytes = new std::vector<std::uint8_t>(showGlb());
        model = new tinygltf::Model;
        tinygltf::TinyGLTF loader;
        loader.SetImageLoader(keepImageBytes, nullptr);
        std::string error, warning;
        loaded = loader.LoadBinaryFromMemory(model, &error, &warning, bytes->data(),
                                             static_cast<unsigned>(bytes->size()));
        loadError = new std::string(error + warning);
    }
    static void TearDownTestSuite() {
        delete bytes;
        delete model;
        delete loadError;
    }

    int nodeNamed(const std::string& name) const {
        for (std::size_t n = 0; n < model->nodes.size(); ++n) {
            if (model->nodes[n].name == name) {
                return static_cast<int>(n);
            }
        }
        ADD_FAILURE() << "no node " << name;
        return 0;
    }

    // Each node's translation, rotation and scale at the tick, its own where no channel moves
    // it; channels interpolated as a player does (rotations by spherical interpolation).
    std::vector<glm::mat4> localMatrices(std::uint32_t tick) const {
        std::vector<glm::vec3> move, stretch;
        std::vector<glm::quat> turn;
        for (const tinygltf::Node& node : model->nodes) {
            const auto& t = node.translation;
            const auto& r = node.rotation;
            const auto& s = node.scale;
            move.push_back(t.empty() ? glm::vec3(0.0f) : glm::vec3(t[0], t[1], t[2]));
            turn.push_back(r.empty()
                               ? glm::quat(1, 0, 0, 0)
                               : glm::quat(static_cast<float>(r[3]), static_cast<float>(r[0]),
                                           static_cast<float>(r[1]), static_cast<float>(r[2])));
            stretch.push_back(s.empty() ? glm::vec3(1.0f) : glm::vec3(s[0], s[1], s[2]));
        }
        const float time = static_cast<float>(tick) / 60.0f;
        const tinygltf::Animation& show = model->animations.at(0);
        for (const tinygltf::AnimationChannel& channel : show.channels) {
            const auto& sampler = show.samplers[static_cast<std::size_t>(channel.sampler)];
            EXPECT_EQ(sampler.interpolation, "LINEAR");
            const std::vector<float> times = floats(*model, sampler.input);
            const std::vector<float> out = floats(*model, sampler.output);
            const std::size_t b = static_cast<std::size_t>(
                std::upper_bound(times.begin(), times.end(), time) - times.begin());
            const std::size_t hi = std::min(b, times.size() - 1), lo = b == 0 ? 0 : b - 1;
            const float f = hi == lo ? 0.0f : (time - times[lo]) / (times[hi] - times[lo]);
            const auto node = static_cast<std::size_t>(channel.target_node);
            if (channel.target_path == "rotation") {
                const glm::quat a(out[4 * lo + 3], out[4 * lo], out[4 * lo + 1], out[4 * lo + 2]);
                const glm::quat c(out[4 * hi + 3], out[4 * hi], out[4 * hi + 1], out[4 * hi + 2]);
                turn[node] = glm::slerp(a, c, f);
            } else {
                EXPECT_EQ(channel.target_path, "translation");
                const glm::vec3 a(out[3 * lo], out[3 * lo + 1], out[3 * lo + 2]);
                const glm::vec3 c(out[3 * hi], out[3 * hi + 1], out[3 * hi + 2]);
                move[node] = a + (c - a) * f;
            }
        }
        std::vector<glm::mat4> local;
        for (std::size_t n = 0; n < model->nodes.size(); ++n) {
            local.push_back(glm::translate(glm::mat4(1.0f), move[n]) * glm::mat4_cast(turn[n]) *
                            glm::scale(glm::mat4(1.0f), stretch[n]));
        }
        return local;
    }

    glm::mat4 world(const std::vector<glm::mat4>& local, int node) const {
        for (std::size_t p = 0; p < model->nodes.size(); ++p) {
            const auto& children = model->nodes[p].children;
            if (std::find(children.begin(), children.end(), node) != children.end()) {
                return world(local, static_cast<int>(p)) * local[static_cast<std::size_t>(node)];
            }
        }
        return local[static_cast<std::size_t>(node)];
    }

    static std::vector<std::uint8_t>* bytes;
    static tinygltf::Model* model;
    static bool loaded;
    static std::string* loadError;
};
std::vector<std::uint8_t>* GltfExport::bytes = nullptr;
tinygltf::Model* GltfExport::model = nullptr;
bool GltfExport::loaded = false;
std::string* GltfExport::loadError = nullptr;
} // namespace

TEST_F(GltfExport, EveryBodyNodesWorldMatrixIsTheProgramsAtEachTick) {
    ASSERT_TRUE(loaded) << *loadError;
    Robot table[ROBOT_COUNT]{};
    Choreography show = makeStartChoreography();
    GaitState gaits[ROBOT_COUNT];
    const DrawRoutine none[BODY_PART_COUNT] = {};
    for (const std::uint32_t tick : {0u, 1u, 274u, 726u, 1002u, 1454u, 2002u, 2366u}) {
        seekShow(table, show, gaits, tick);
        const std::vector<glm::mat4> local = localMatrices(tick);
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            linkBodyTree(table[i], none);
            const Robot& robot = table[i];
            const glm::mat4 placement = robotPlacement(robot);
            walkBodyTree(&robot.nodes[Torso], placement, 0, [&](const NodeVisit& visit) {
                const auto part = static_cast<BodyPart>(visit.node - robot.nodes);
                const glm::mat4 exported =
                    world(local, nodeNamed(jointNodeName(i, bodyNode(part))));
                for (int c = 0; c < 4; ++c) {
                    for (int r = 0; r < 4; ++r) {
                        EXPECT_NEAR(exported[c][r], visit.world[c][r], 1e-4f)
                            << "tick " << tick << " robot " << i << " part " << part;
                    }
                }
            });
        }
    }
}

TEST_F(GltfExport, OneAnimationNamedShowTimedInSixtiethsToTheShowsEnd) {
    ASSERT_TRUE(loaded) << *loadError;
    ASSERT_EQ(model->animations.size(), 1u);
    EXPECT_EQ(model->animations[0].name, "show");
    float last = 0.0f;
    for (const auto& sampler : model->animations[0].samplers) {
        const std::vector<float> times = floats(*model, sampler.input);
        EXPECT_EQ(times.front(), 0.0f);
        EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
        last = std::max(last, times.back());
    }
    EXPECT_EQ(last, static_cast<float>(showLength(wholeShow())) / 60.0f);
}

TEST_F(GltfExport, TheFieldTheFourTexturesAsPngAndTheMaterialsColours) {
    ASSERT_TRUE(loaded) << *loadError;
    ASSERT_EQ(model->images.size(), 4u);
    for (const tinygltf::Image& image : model->images) {
        EXPECT_EQ(image.mimeType, "image/png");
        ASSERT_GT(image.image.size(), 8u);
        EXPECT_EQ(std::string(image.image.begin() + 1, image.image.begin() + 4), "PNG");
    }
    ASSERT_EQ(model->materials.size(), 6u);
    const auto& robotColour = model->materials[0].pbrMetallicRoughness;
    EXPECT_EQ(robotColour.baseColorFactor, (std::vector<double>{0.8f, 0.6f, 0.4f, 1.0f}));
    EXPECT_EQ(robotColour.baseColorTexture.index, 0);
    EXPECT_EQ(model->materials[3].pbrMetallicRoughness.baseColorTexture.index, 3);
    EXPECT_EQ(model->materials[4].pbrMetallicRoughness.baseColorTexture.index, 3);
    EXPECT_EQ(model->materials[5].pbrMetallicRoughness.baseColorTexture.index, -1);
    const tinygltf::Node& floor = model->nodes[static_cast<std::size_t>(nodeNamed("floor"))];
    const auto& mesh = model->meshes[static_cast<std::size_t>(floor.mesh)].primitives[0];
    const std::vector<float> corners = floats(*model, mesh.attributes.at("POSITION"));
    EXPECT_EQ(corners[0], -15.0f);
    EXPECT_EQ(corners[1], -3.0f);
    EXPECT_EQ(corners[2], -20.0f);
    // The polygon's t = -4z becomes v = 1 - t.
    EXPECT_EQ(floats(*model, mesh.attributes.at("TEXCOORD_0"))[1], -3.0f);
    const tinygltf::Node& post = model->nodes[static_cast<std::size_t>(nodeNamed("goal_post_far"))];
    EXPECT_EQ(post.translation, (std::vector<double>{0.0, -3.0, -18.0}));
}

TEST_F(GltfExport, TwoExportsAreByteForByteTheSame) {
    ASSERT_TRUE(loaded) << *loadError;
    EXPECT_EQ(showGlb(), *bytes);
}
