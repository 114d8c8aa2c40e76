# The web page: the program as cheerleaders.js and cheerleaders.wasm, and the page that holds its
# canvas (web/cheerleaders.html), in the build folder. The page writes the four textures into the
# program's file system as it starts, with the same generator as make_textures.
set_target_properties(cheerleaders PROPERTIES SUFFIX ".js")
# What the page's script calls in the program, and the texture generator it calls: in the program
# itself, since nothing else in it calls them.
target_sources(cheerleaders PRIVATE ${PROJECT_SOURCE_DIR}/web/page_exports.cpp
    ${PROJECT_SOURCE_DIR}/tools/texture_generator.cpp)
# Emscripten's linker runs its JavaScript tools (acorn among them) on Node.js; Debian's Node.js
# finds Debian's JavaScript modules by itself, another Node.js first on the PATH may not.
set_target_properties(cheerleaders PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")
# Built for size, as the web preset compiles: every visitor downloads it.
target_link_options(cheerleaders PRIVATE
    -Oz
    -sFULL_ES2=1 -sMAX_WEBGL_VERSION=1
    # The page's tests take a texture away through the file system's own calls.
    -sFORCE_FILESYSTEM=1
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(page_dir ${CMAKE_BINARY_DIR})
add_custom_command(OUTPUT ${page_dir}/cheerleaders.html
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/cheerleaders.html ${page_dir}/
    DEPENDS ${PROJECT_SOURCE_DIR}/web/cheerleaders.html VERBATIM)
add_custom_target(web_page ALL DEPENDS ${page_dir}/cheerleaders.html)
