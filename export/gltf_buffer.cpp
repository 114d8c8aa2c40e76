#include "export/gltf_buffer.h"

#include <algorithm>
#include <cassert>

int addBufferView(tinygltf::Model& model, const void* bytes, std::size_t size, int target) {
    if (model.buffers.empty()) {
        model.buffers.emplace_back();
    }
    std::vector<unsigned char>& data = model.buffers[0].data;
    data.resize((data.size() + 3) / 4 * 4, 0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = data.size();
    view.byteLength = size;
    view.target = target;
    const auto* first = static_cast<const unsigned char*>(bytes);
    data.insert(data.end(), first, first + size);
    model.bufferViews.push_back(view);
    return static_cast<int>(model.bufferViews.size() - 1);
}

int addFloatAccessor(tinygltf::Model& model, const std::vector<float>& values, int width,
                     int target) {
    static const int TYPES[] = {TINYGLTF_TYPE_SCALAR, TINYGLTF_TYPE_VEC2, TINYGLTF_TYPE_VEC3,
                                TINYGLTF_TYPE_VEC4};
    assert(width >= 1 && width <= 4 && !values.empty());
    const auto w = static_cast<std::size_t>(width);
    assert(values.size() % w == 0);
    tinygltf::Accessor accessor;
    accessor.bufferView =
        addBufferView(model, values.data(), values.size() * sizeof(float), target);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.count = values.size() / w;
    accessor.type = TYPES[width - 1];
    accessor.minValues.assign(values.begin(), values.begin() + width);
    accessor.maxValues = accessor.minValues;
    for (std::size_t k = 0; k < values.size(); ++k) {
        double& low = accessor.minValues[k % w];
        double& high = accessor.maxValues[k % w];
        low = std::min(low, static_cast<double>(values[k]));
        high = std::max(high, static_cast<double>(values[k]));
    }
    model.accessors.push_back(accessor);
    return static_cast<int>(model.accessors.size() - 1);
}

int addIndexAccessor(tinygltf::Model& model, const std::vector<std::uint16_t>& indices) {
    assert(!indices.empty());
    tinygltf::Accessor accessor;
    accessor.bufferView =
        addBufferView(model, indices.data(), indices.size() * sizeof(std::uint16_t),
                      TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
    accessor.count = indices.size();
    accessor.type = TINYGLTF_TYPE_SCALAR;
    model.accessors.push_back(accessor);
    return static_cast<int>(model.accessors.size() - 1);
}
