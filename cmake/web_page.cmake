# The web page: the program as cheerleaders.js and cheerleaders.wasm, and the page that holds its
# canvas (web/cheerleaders.html) with its timeline's script, in the build folder. The page puts
# the four textures into the program's file system as it starts, drawn by the same generator as
# make_textures.
set_target_properties(cheerleaders PROPERTIES SUFFIX ".js")
# Emscripten's linker runs its JavaScript tools (acorn among them) on Node.js; Debian's Node.js
# finds Debian's JavaScript modules by itself, another Node.js first on the PATH may not. Both
# modules link so.
set(node_modules_launcher "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")
set_target_properties(cheerleaders PROPERTIES CXX_LINKER_LAUNCHER "${node_modules_launcher}")
# Built for size, as the web preset compiles: every visitor downloads it.
target_link_options(cheerleaders PRIVATE
    -Oz
    -sFULL_ES2=1 -sMAX_WEBGL_VERSION=1
    # The page hands the textures to the program through the file system's own calls.
    -sFORCE_FILESYSTEM=1
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web
    # The page's script hands the program texts and takes texts back.
    -sEXPORTED_RUNTIME_METHODS=ccall
    # Draws from client-side arrays that copy each vertex once (the file says why).
    "SHELL:--js-library ${PROJECT_SOURCE_DIR}/web/client_arrays.js")
set_property(TARGET cheerleaders APPEND PROPERTY LINK_DEPENDS
    ${PROJECT_SOURCE_DIR}/web/client_arrays.js)

# The textures' own small module (cheerleaders_textures.js and .wasm), which the page runs in
# workers, on other cores, while the program itself is fetched and compiled. The generator is built
# for speed: the first picture waits for its pictures. It needs no file system.
add_executable(cheerleaders_textures ${PROJECT_SOURCE_DIR}/web/texture_module.cpp
    ${PROJECT_SOURCE_DIR}/tools/texture_generator.cpp)
target_include_directories(cheerleaders_textures PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(cheerleaders_textures PRIVATE -O3)
set_target_properties(cheerleaders_textures PROPERTIES SUFFIX ".js"
    CXX_LINKER_LAUNCHER "${node_modules_launcher}")
target_link_options(cheerleaders_textures PRIVATE -Oz -sMODULARIZE=1 -sEXPORT_NAME=makeTextures
    -sFILESYSTEM=0 -sEXPORTED_RUNTIME_METHODS=UTF8ToString -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=worker
    "SHELL:--extern-post-js ${PROJECT_SOURCE_DIR}/web/texture_worker.js")
set_property(TARGET cheerleaders_textures APPEND PROPERTY LINK_DEPENDS
    ${PROJECT_SOURCE_DIR}/web/texture_worker.js)
cheer_warnings(cheerleaders_textures)

set(page_dir ${CMAKE_BINARY_DIR})
# The page and its timeline's script.
set(page_files ${page_dir}/cheerleaders.html ${page_dir}/cheerleaders_timeline.js)
add_custom_command(OUTPUT ${page_files}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/cheerleaders.html
        ${PROJECT_SOURCE_DIR}/web/cheerleaders_timeline.js ${page_dir}/
    DEPENDS ${PROJECT_SOURCE_DIR}/web/cheerleaders.html
        ${PROJECT_SOURCE_DIR}/web/cheerleaders_timeline.js
    VERBATIM)
add_custom_target(web_page ALL DEPENDS ${page_files})
