# The scene export's header-only libraries for a cross build: the glTF library, its JSON library
# and the PNG writer from the build host, seen through a folder that holds nothing else, so no
# other host header can shadow one of the target's (as cmake/host_glm.cmake does for GLM).
find_path(CHEER_HOST_TINYGLTF_DIR tiny_gltf.h PATHS /usr/include NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT CHEER_HOST_TINYGLTF_DIR OR NOT EXISTS ${CHEER_HOST_TINYGLTF_DIR}/nlohmann/json.hpp
        OR NOT EXISTS ${CHEER_HOST_TINYGLTF_DIR}/stb/stb_image_write.h)
    message(FATAL_ERROR "tiny_gltf.h, nlohmann/json.hpp or stb/stb_image_write.h not found in "
        "/usr/include (Debian packages libtinygltf-dev, nlohmann-json3-dev and libstb-dev)")
endif()
set(CHEER_GLTF_ONLY ${CMAKE_BINARY_DIR}/gltf-include)
file(MAKE_DIRECTORY ${CHEER_GLTF_ONLY})
foreach(entry tiny_gltf.h nlohmann stb)
    file(CREATE_LINK ${CHEER_HOST_TINYGLTF_DIR}/${entry} ${CHEER_GLTF_ONLY}/${entry} SYMBOLIC)
endforeach()
