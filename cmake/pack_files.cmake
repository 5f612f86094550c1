# Packs a folder into OUT_DIR/brackle.data with its loader brackle-data.js, mounted at /brackle:
#   cmake -DPYTHON=.. -DPACKAGER=.. -DFOLDER=.. -DOUT_DIR=.. -P pack_files.cmake
# The packager's reminder to build the program with a file system is dropped (it is built
# so); anything else it says is passed on.
execute_process(
  COMMAND ${PYTHON} ${PACKAGER} brackle.data --preload ${FOLDER}@/brackle
          --js-output=brackle-data.js
  WORKING_DIRECTORY ${OUT_DIR}
  RESULT_VARIABLE failed
  ERROR_VARIABLE said)
string(REGEX REPLACE "Remember to build the main file with[^\n]*\n?" "" said "${said}")
if(said)
  message(WARNING "${said}")
endif()
if(failed)
  message(FATAL_ERROR "the file packager failed")
endif()
