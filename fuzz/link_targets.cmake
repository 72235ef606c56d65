# Run after the fuzz programs are built: one link fuzz_<reader> to the
# reader program for every reader the registry lists.
execute_process(COMMAND ${LIST} OUTPUT_VARIABLE readers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "listing the readers failed: ${status}")
endif()
string(REPLACE "\n" ";" readers "${readers}")
foreach(reader ${readers})
  if(NOT reader STREQUAL "")
    file(CREATE_LINK fuzz_reader ${DIR}/fuzz_${reader} SYMBOLIC)
  endif()
endforeach()
