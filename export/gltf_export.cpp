#include "export/gltf_export.h"

#include "export/gltf_animation.h"
#include "export/gltf_buffer.h"
#include "export/quadric_mesh.h"
#include "export/show_channels.h"
#include "render/bitmap_reader.h"
#include "render/field_layout.h"
#include "render/material_table.h"
#include "render/texture_generator.h"
#include "robot/body_shape.h"

#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>
#include <map>
#include <sstream>
#include <stb/stb_image_write.h>

namespace {
using Attributes = std::map<std::string, int>;

// GLU's t runs up the picture from its first (bottom) row; a glTF v runs down from the top.
std::vector<float> flippedTexCoords(const std::vector<float>& st) {
    std::vector<float> uv = st;
    for (std::size_t k = 1; k < uv.size(); k += 2) {
        uv[k] = 1.0f - uv[k];
    }
    return uv;
}

Attributes addQuadricGeometry(tinygltf::Model& model, const QuadricMesh& mesh) {
    Attributes attributes = {
        {"POSITION", addFloatAccessor(model, mesh.positions, 3, TINYGLTF_TARGET_ARRAY_BUFFER)},
        {"NORMAL", addFloatAccessor(model, mesh.normals, 3, TINYGLTF_TARGET_ARRAY_BUFFER)}};
    if (!mesh.texCoords.empty()) {
        attributes["TEXCOORD_0"] = addFloatAccessor(model, flippedTexCoords(mesh.texCoords), 2,
                                                    TINYGLTF_TARGET_ARRAY_BUFFER);
    }
    attributes["_INDICES"] = addIndexAccessor(model, mesh.indices);
    return attributes;
}

int addMesh(tinygltf::Model& model, const std::string& name, Attributes attributes, int material,
            int mode) {
    tinygltf::Primitive primitive;
    primitive.indices = attributes["_INDICES"];
    attributes.erase("_INDICES");
    primitive.attributes = attributes;
    primitive.material = material;
    primitive.mode = mode;
    tinygltf::Mesh mesh;
    mesh.name = name;
    mesh.primitives.push_back(primitive);
    model.meshes.push_back(mesh);
    return static_cast<int>(model.meshes.size() - 1);
}

int addNode(tinygltf::Model& model, int parent, tinygltf::Node node) {
    model.nodes.push_back(std::move(node));
    const int index = static_cast<int>(model.nodes.size() - 1);
    if (parent >= 0) {
        model.nodes[static_cast<std::size_t>(parent)].children.push_back(index);
    } else {
        model.scenes[0].nodes.push_back(index);
    }
    return index;
}

tinygltf::Node namedNode(const std::string& name, int mesh = -1) {
    tinygltf::Node node;
    node.name = name;
    node.mesh = mesh;
    return node;
}

void appendPng(void* context, void* data, int size) {
    auto* png = static_cast<std::vector<unsigned char>*>(context);
    const auto* bytes = static_cast<const unsigned char*>(data);
    png->insert(png->end(), bytes, bytes + size);
}

// The generator's bitmap as a PNG: red, green, blue, its top row first.
void addTexture(tinygltf::Model& model, int which) {
    const std::vector<std::uint8_t> file = generatedTextureBitmap(which);
    BitmapImage image;
    const bool read = readBitmap(file.data(), file.size(), BITMAP_MAX_SIDE, image);
    assert(read);
    (void)read;
    const auto width = static_cast<std::size_t>(image.width);
    const std::size_t stride = bitmapRowStride(image.width);
    std::vector<unsigned char> rgb;
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.rows + static_cast<std::size_t>(y) * stride;
        for (std::size_t x = 0; x < width; ++x) {
            rgb.insert(rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        }
    }
    std::vector<unsigned char> png;
    stbi_write_png_to_func(appendPng, &png, image.width, image.height, 3, rgb.data(),
                           static_cast<int>(3 * width));
    tinygltf::Image picture;
    picture.name = generatedTextureName(which);
    picture.mimeType = "image/png";
    picture.bufferView = addBufferView(model, png.data(), png.size(), 0);
    model.images.push_back(picture);
    tinygltf::Texture texture;
    texture.sampler = 0;
    texture.source = static_cast<int>(model.images.size() - 1);
    model.textures.push_back(texture);
}

// The table's diffuse colour as the base colour, its emission as emission, its shininess as the
// roughness a Blinn-Phong exponent of that size corresponds to; nothing metallic.
int addMaterial(tinygltf::Model& model, const std::string& name, int entry, int texture) {
    tinygltf::Material material;
    material.name = name;
    const float* diffuse = materialTable.diffuse[entry];
    material.pbrMetallicRoughness.baseColorFactor.assign(diffuse, diffuse + 4);
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    material.pbrMetallicRoughness.roughnessFactor =
        std::sqrt(2.0 / (static_cast<double>(materialTable.shininess[entry]) + 2.0));
    const float* emission = materialTable.emission[entry];
    material.emissiveFactor.assign(emission, emission + 3);
    material.pbrMetallicRoughness.baseColorTexture.index = texture;
    model.materials.push_back(material);
    return static_cast<int>(model.materials.size() - 1);
}

// The floor polygon, flattened and placed as the scene frame draws it, as two triangles.
int addFloorMesh(tinygltf::Model& model, int material) {
    constexpr float CORNERS[4][2] = {{-1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, -1.0f}};
    std::vector<float> positions, normals, st;
    for (const auto& c : CORNERS) {
        positions.insert(positions.end(),
                         {c[0] * FLOOR_SCALE[0], FLOOR_Y + FLOOR_SCALE[1], c[1] * FLOOR_SCALE[2]});
        normals.insert(normals.end(), {0.0f, 1.0f, 0.0f});
        // s = 4x, t = -4z, as the polygon's own coordinates.
        st.insert(st.end(), {4.0f * c[0], -4.0f * c[1]});
    }
    Attributes attributes = {
        {"POSITION", addFloatAccessor(model, positions, 3, TINYGLTF_TARGET_ARRAY_BUFFER)},
        {"NORMAL", addFloatAccessor(model, normals, 3, TINYGLTF_TARGET_ARRAY_BUFFER)},
        {"TEXCOORD_0",
         addFloatAccessor(model, flippedTexCoords(st), 2, TINYGLTF_TARGET_ARRAY_BUFFER)},
        {"_INDICES", addIndexAccessor(model, {0, 1, 2, 0, 2, 3})}};
    return addMesh(model, "floor", attributes, material, TINYGLTF_MODE_TRIANGLES);
}

// Lit, as the scene frame draws them, with the floor's upward normal.
int addFieldLinesMesh(tinygltf::Model& model, int material) {
    std::vector<float> positions, normals;
    std::vector<std::uint16_t> indices;
    for (int i = 0; i < FIELD_LINE_COUNT; ++i) {
        const FieldLine line = fieldLine(i);
        positions.insert(positions.end(), line.from, line.from + 3);
        positions.insert(positions.end(), line.to, line.to + 3);
        normals.insert(normals.end(), {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f});
        indices.insert(indices.end(),
                       {static_cast<std::uint16_t>(2 * i), static_cast<std::uint16_t>(2 * i + 1)});
    }
    Attributes attributes = {
        {"POSITION", addFloatAccessor(model, positions, 3, TINYGLTF_TARGET_ARRAY_BUFFER)},
        {"NORMAL", addFloatAccessor(model, normals, 3, TINYGLTF_TARGET_ARRAY_BUFFER)},
        {"_INDICES", addIndexAccessor(model, indices)}};
    return addMesh(model, "field lines", attributes, material, TINYGLTF_MODE_LINE);
}

std::vector<double> axisQuaternion(float degrees, const float (&axis)[3]) {
    const TurnAxis turn = axis[0] != 0.0f   ? TurnAxis::X
                          : axis[1] != 0.0f ? TurnAxis::Y
                                            : TurnAxis::Z;
    return turnQuaternion(turn, degrees);
}

void addGoalPosts(tinygltf::Model& model, int material) {
    int meshes[GOAL_POST_PARTS];
    for (int part = 0; part < GOAL_POST_PARTS; ++part) {
        const QuadricMesh tube =
            tubeMesh(POST_RADIUS, POST_CYLINDERS[part].height, POST_SLICES, POST_STACKS, false);
        meshes[part] = addMesh(model, "goal post " + std::to_string(part),
                               addQuadricGeometry(model, tube), material, TINYGLTF_MODE_TRIANGLES);
    }
    for (const float z : {-GOAL_LINE_Z, GOAL_LINE_Z}) {
        tinygltf::Node post = namedNode(z < 0.0f ? "goal_post_far" : "goal_post_near");
        post.translation = {0.0, FLOOR_Y, z};
        const int postNode = addNode(model, -1, post);
        for (int part = 0; part < GOAL_POST_PARTS; ++part) {
            const PostCylinder& c = POST_CYLINDERS[part];
            tinygltf::Node cylinder = namedNode("", meshes[part]);
            cylinder.translation.assign(c.move, c.move + 3);
            cylinder.rotation = axisQuaternion(c.degrees, c.axis);
            addNode(model, postNode, cylinder);
        }
    }
}

// A piece's steps (moves, scales, turns) as a node's translation, rotation and scale: the columns
// of the matrix's upper left are the turned axes, each stretched by its scale.
void setPieceTransform(tinygltf::Node& node, const ShapePiece& piece) {
    const glm::mat4 m = pieceMatrix(piece);
    node.translation = {m[3][0], m[3][1], m[3][2]};
    glm::mat3 turn;
    for (int c = 0; c < 3; ++c) {
        const float length = glm::length(glm::vec3(m[c]));
        node.scale.push_back(length);
        turn[c] = glm::vec3(m[c]) / length;
    }
    const glm::quat q = glm::quat_cast(turn);
    node.rotation = {q.x, q.y, q.z, q.w};
}

struct PieceGeometry {
    const ShapePiece* piece;
    Attributes attributes;
};

bool sameShape(const ShapePiece& a, const ShapePiece& b) {
    return a.quadric == b.quadric && a.radius == b.radius && a.height == b.height &&
           a.slices == b.slices && a.stacks == b.stacks;
}

// Each distinct quadric once, shared by every part and robot that draws it.
const Attributes& pieceGeometry(tinygltf::Model& model, std::vector<PieceGeometry>& made,
                                const ShapePiece& piece) {
    for (const PieceGeometry& g : made) {
        if (sameShape(*g.piece, piece)) {
            return g.attributes;
        }
    }
    const QuadricMesh mesh =
        piece.quadric == QuadricKind::Sphere
            ? sphereMesh(piece.radius, piece.slices, piece.stacks, true)
            : tubeMesh(piece.radius, piece.height, piece.slices, piece.stacks, true);
    made.push_back({&piece, addQuadricGeometry(model, mesh)});
    return made.back().attributes;
}

tinygltf::Model buildModel() {
    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = std::string("cheerleaders ") + CHEER_VERSION;
    model.scenes.emplace_back();
    model.scenes[0].name = "field";
    model.defaultScene = 0;

    // The scene view's textures are sampled linearly, without mipmaps, and repeat.
    tinygltf::Sampler sampler;
    sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
    sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
    sampler.wrapS = TINYGLTF_TEXTURE_WRAP_REPEAT;
    sampler.wrapT = TINYGLTF_TEXTURE_WRAP_REPEAT;
    model.samplers.push_back(sampler);
    for (int which = 0; which < GENERATED_TEXTURES; ++which) {
        addTexture(model, which);
    }
    int robotMaterials[ROBOT_COUNT];
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        robotMaterials[i] = addMaterial(model, "robot " + std::to_string(i), ROBOT_MATERIAL, i);
    }
    const int floorMaterial = addMaterial(model, "floor", FLOOR_MATERIAL, FLOOR_TEXTURE_SLOT);
    const int lineMaterial = addMaterial(model, "lines", LINE_MATERIAL, -1);

    addNode(model, -1, namedNode("floor", addFloorMesh(model, floorMaterial)));
    addNode(model, -1, namedNode("field_lines", addFieldLinesMesh(model, lineMaterial)));
    addGoalPosts(model, lineMaterial);

    const ShowChannels show = sampleShow();
    std::vector<PieceGeometry> geometry;
    int robotNodes[ROBOT_COUNT];
    int jointNodes[ROBOT_COUNT][JOINT_NODE_COUNT];
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        const RobotChannels& channels = show.robots[i];
        tinygltf::Node robot = namedNode(robotNodeName(i));
        robot.translation.assign(channels.position.begin(), channels.position.begin() + 3);
        robot.scale.assign(ROBOT_SCALE, ROBOT_SCALE + 3);
        robotNodes[i] = addNode(model, -1, robot);
        for (int n = 0; n < JOINT_NODE_COUNT; ++n) {
            const JointNode& joint = JOINT_NODES[n];
            tinygltf::Node node = namedNode(jointNodeName(i, n));
            if (!channels.offset[n].empty()) {
                node.translation.assign(channels.offset[n].begin(), channels.offset[n].begin() + 3);
            }
            node.rotation = turnQuaternion(joint.axis, channels.angle[n][0]);
            const int parent = parentJointNode(n);
            jointNodes[i][n] =
                addNode(model, parent < 0 ? robotNodes[i] : jointNodes[i][parent], node);
            if (bodyNode(joint.part) != n) {
                continue;
            }
            const PartShape& shape = PART_SHAPES[joint.part];
            for (int k = 0; k < shape.pieceCount; ++k) {
                const ShapePiece& piece = shape.pieces[k];
                const std::string name = jointNodeName(i, n) + "_piece" + std::to_string(k);
                const int mesh = addMesh(model, name, pieceGeometry(model, geometry, piece),
                                         robotMaterials[i], TINYGLTF_MODE_TRIANGLES);
                tinygltf::Node pieceNode = namedNode(name, mesh);
                setPieceTransform(pieceNode, piece);
                addNode(model, jointNodes[i][n], pieceNode);
            }
        }
    }
    addShowAnimation(model, show, robotNodes, jointNodes);
    return model;
}
} // namespace

std::string robotNodeName(int robot) {
    return "robot" + std::to_string(robot);
}

std::string jointNodeName(int robot, int jointNode) {
    assert(jointNode >= 0 && jointNode < JOINT_NODE_COUNT);
    return robotNodeName(robot) + "_" + JOINT_NODES[jointNode].name;
}

std::vector<std::uint8_t> showGlb() {
    const tinygltf::Model model = buildModel();
    std::ostringstream stream;
    tinygltf::TinyGLTF writer;
    const bool written = writer.WriteGltfSceneToStream(&model, stream, false, true);
    assert(written);
    (void)written;
    const std::string bytes = stream.str();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool writeShowGlb(const std::string& path, std::string& error) {
    const std::vector<std::uint8_t> bytes = showGlb();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
