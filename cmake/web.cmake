# The browser build's program and its static sites: build-web/site/ (the game) and, for the
# tests, build-web/site-short-tune/ (the same with a tune of half a second).
set(BRACKLE_WEB_BAKE "" CACHE FILEPATH "The native brackle-web-bake (build/tools/brackle-web-bake)")
if(NOT EXISTS "${BRACKLE_WEB_BAKE}")
  message(FATAL_ERROR "BRACKLE_WEB_BAKE must name the native brackle-web-bake; scripts/web.sh builds it")
endif()
find_program(FLUIDSYNTH fluidsynth REQUIRED)
find_program(LAME lame REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_file(FILE_PACKAGER file_packager.py PATHS /usr/share/emscripten/tools REQUIRED NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
# The desktop's General MIDI bank (platform/sdl/media.cpp), at the desktop's rate and volume.
set(BRACKLE_SOUND_FONT /usr/share/sounds/sf2/TimGM6mb.sf2)

add_executable(brackle_web ${PROJECT_SOURCE_DIR}/game/shell/web_main.cpp)
set_target_properties(brackle_web PROPERTIES OUTPUT_NAME brackle SUFFIX .js
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/program)
target_link_libraries(brackle_web PRIVATE game_shell platform_web)
# ASYNCIFY turns the host's wait, deep in the nested frame loops, into a yield to the page.
target_link_options(brackle_web PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
                    -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sEXIT_RUNTIME=0)
set_property(TARGET brackle_web APPEND PROPERTY LINK_DEPENDS
             ${PROJECT_SOURCE_DIR}/platform/web/web_host.js)

# The masks of every drawn string and the pictures, by the desktop's own font and decoder.
set(baked ${CMAKE_BINARY_DIR}/baked)
add_custom_command(
  OUTPUT ${baked}/texts.msk ${baked}/title.bmp ${baked}/back.bmp
  COMMAND ${BRACKLE_WEB_BAKE} ${baked} ${PROJECT_SOURCE_DIR}/assets/title.jpg
          ${PROJECT_SOURCE_DIR}/assets/back.jpg
  DEPENDS ${BRACKLE_WEB_BAKE} ${PROJECT_SOURCE_DIR}/assets/title.jpg
          ${PROJECT_SOURCE_DIR}/assets/back.jpg
  VERBATIM)

# brackle_tune(midi out.mp3): the tune as the desktop's synthesizer plays it, compressed.
function(brackle_tune midi mp3)
  add_custom_command(
    OUTPUT ${mp3}
    COMMAND ${FLUIDSYNTH} -ni -q -g 0.5 -r 32000 -F ${mp3}.wav ${BRACKLE_SOUND_FONT} ${midi}
    COMMAND ${LAME} --quiet -b 112 ${mp3}.wav ${mp3}
    COMMAND ${CMAKE_COMMAND} -E rm ${mp3}.wav
    DEPENDS ${midi}
    VERBATIM)
endfunction()

# brackle_site(target folder midi [ALL]): the page, the program, its folder packed as
# brackle.data (mounted at /brackle) and the tune rendered from `midi`, played as run.mid.
function(brackle_site target folder midi)
  set(files ${CMAKE_BINARY_DIR}/${target}-files)
  set(out ${CMAKE_BINARY_DIR}/${folder})
  brackle_tune(${midi} ${out}/run.mp3)
  set(packed ${files}/stage.stg ${files}/CLICK.WAV ${files}/run.mid ${files}/texts.msk
             ${files}/title.bmp ${files}/back.bmp)
  add_custom_command(
    OUTPUT ${out}/brackle.data ${out}/brackle-data.js
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${files} ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/assets/stage.stg
            ${PROJECT_SOURCE_DIR}/assets/CLICK.WAV ${baked}/texts.msk ${baked}/title.bmp
            ${baked}/back.bmp ${files}
    COMMAND ${CMAKE_COMMAND} -E copy ${midi} ${files}/run.mid
    COMMAND ${CMAKE_COMMAND} -DPYTHON=${Python3_EXECUTABLE} -DPACKAGER=${FILE_PACKAGER}
            -DFOLDER=${files} -DOUT_DIR=${out} -P ${PROJECT_SOURCE_DIR}/cmake/pack_files.cmake
    DEPENDS ${baked}/texts.msk ${baked}/title.bmp ${baked}/back.bmp ${midi}
            ${PROJECT_SOURCE_DIR}/assets/stage.stg ${PROJECT_SOURCE_DIR}/assets/CLICK.WAV
            ${PROJECT_SOURCE_DIR}/cmake/pack_files.cmake
    VERBATIM)
  add_custom_command(
    OUTPUT ${out}/index.html ${out}/brackle.js ${out}/brackle.wasm
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/platform/web/index.html
            $<TARGET_FILE_DIR:brackle_web>/brackle.js $<TARGET_FILE_DIR:brackle_web>/brackle.wasm
            ${out}
    DEPENDS brackle_web ${PROJECT_SOURCE_DIR}/platform/web/index.html
    VERBATIM)
  add_custom_target(${target} ${ARGN} DEPENDS ${out}/brackle.data ${out}/index.html ${out}/run.mp3)
endfunction()

brackle_site(site site ${PROJECT_SOURCE_DIR}/assets/run.mid ALL)
brackle_site(site_short_tune site-short-tune ${PROJECT_SOURCE_DIR}/tests/web/short-tune.mid)
