# Builds the .deb as `make package` does, into a scratch folder, and has lintian
# judge it at its default level (errors and warnings); skipped without lintian.
# Run as: cmake -DBUILD=... -DCPACK=... -P package.cmake
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message("lintian is not installed: the package is not checked")
  return()
endif()
set(out ${BUILD}/package-check)
file(REMOVE_RECURSE ${out})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${out}
  WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB deb ${out}/quillmark_*.deb)
if(rc OR NOT deb)
  message(FATAL_ERROR "cpack made no package: ${log}")
endif()
execute_process(COMMAND ${LINTIAN} --fail-on error,warning ${deb}
  RESULT_VARIABLE rc OUTPUT_VARIABLE tags ERROR_VARIABLE log)
if(rc)
  message(FATAL_ERROR "lintian on ${deb}:\n${tags}${log}")
endif()
file(REMOVE_RECURSE ${out})
