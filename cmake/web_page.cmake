# The web page: the program as cheerleaders.js and cheerleaders.wasm, the page that holds its
# canvas (web/cheerleaders.html), and the four textures packaged for its virtual file system
# (cheerleaders.data, loaded by cheerleaders.data.js), all in the build folder.
set(CHEER_WEB_TEXTURES "" CACHE PATH "Folder with the four texture bitmaps the page carries")

set_target_properties(cheerleaders PROPERTIES SUFFIX ".js")
# What the page's buttons read of the show; in the program itself, since nothing else calls it.
target_sources(cheerleaders PRIVATE ${PROJECT_SOURCE_DIR}/app/show_state_web.cpp)
# Emscripten's linker runs its JavaScript tools (acorn among them) on Node.js; Debian's Node.js
# finds Debian's JavaScript modules by itself, another Node.js first on the PATH may not.
set_target_properties(cheerleaders PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")
target_link_options(cheerleaders PRIVATE
    -sFULL_ES2=1 -sMAX_WEBGL_VERSION=1
    # The textures come in a package of their own, loaded before the program starts.
    -sFORCE_FILESYSTEM=1
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web)

set(texture_names corrigatedIronTexture.bmp leopard.bmp concrete.bmp grass.bmp)
set(preload)
set(texture_files)
foreach(name IN LISTS texture_names)
    if(EXISTS ${CHEER_WEB_TEXTURES}/${name})
        list(APPEND preload --preload ${CHEER_WEB_TEXTURES}/${name}@/${name})
        list(APPEND texture_files ${CHEER_WEB_TEXTURES}/${name})
    endif()
endforeach()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(page_dir ${CMAKE_BINARY_DIR})
add_custom_command(OUTPUT ${page_dir}/cheerleaders.data ${page_dir}/cheerleaders.data.js
    COMMAND ${Python3_EXECUTABLE} ${EMSCRIPTEN_ROOT_PATH}/tools/file_packager.py
            ${page_dir}/cheerleaders.data ${preload} --js-output=${page_dir}/cheerleaders.data.js
    DEPENDS ${texture_files}
    COMMENT "Packaging the textures for the page" VERBATIM)
add_custom_command(OUTPUT ${page_dir}/cheerleaders.html
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/cheerleaders.html ${page_dir}/
    DEPENDS ${PROJECT_SOURCE_DIR}/web/cheerleaders.html VERBATIM)
add_custom_target(web_page ALL DEPENDS ${page_dir}/cheerleaders.data
    ${page_dir}/cheerleaders.data.js ${page_dir}/cheerleaders.html)
