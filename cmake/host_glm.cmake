# glm::glm for a cross build: GLM's headers from the build host (header-only), seen through a
# folder that holds nothing else, so no other host header can shadow one of the target's.
find_path(CHEER_GLM_INCLUDE_DIR glm/glm.hpp PATHS /usr/include NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT CHEER_GLM_INCLUDE_DIR)
    message(FATAL_ERROR "GLM headers not found in /usr/include (Debian package libglm-dev)")
endif()
set(CHEER_GLM_ONLY ${CMAKE_BINARY_DIR}/glm-include)
file(MAKE_DIRECTORY ${CHEER_GLM_ONLY})
file(CREATE_LINK ${CHEER_GLM_INCLUDE_DIR}/glm ${CHEER_GLM_ONLY}/glm SYMBOLIC)
add_library(glm::glm INTERFACE IMPORTED)
set_target_properties(glm::glm PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${CHEER_GLM_ONLY})
