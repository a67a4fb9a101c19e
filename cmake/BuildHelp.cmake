# Builds the help file: the sources, written in UTF-8, are converted to the
# code page the help viewer reads for a Japanese help file, then compiled.
# Arguments: SOURCE_DIR, WORK_DIR, OUTPUT, CHMCMD, ICONV.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(GLOB sources ${SOURCE_DIR}/*.html ${SOURCE_DIR}/*.hhc ${SOURCE_DIR}/*.hhp)
foreach(source ${sources})
  get_filename_component(name ${source} NAME)
  execute_process(COMMAND ${ICONV} -f UTF-8 -t CP932 ${source}
                  OUTPUT_FILE ${WORK_DIR}/${name} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${name} cannot be converted to Shift-JIS")
  endif()
endforeach()
execute_process(COMMAND ${CHMCMD} --no-html-scan Quillet.hhp WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed OR NOT EXISTS ${WORK_DIR}/Quillet.chm)
  message(FATAL_ERROR "the help file was not built:\n${log}")
endif()
file(COPY_FILE ${WORK_DIR}/Quillet.chm ${OUTPUT})
