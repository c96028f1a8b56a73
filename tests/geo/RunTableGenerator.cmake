# run_generator(NAME DATA EXPECTED_FAILURE): runs the table generator GENERATOR (with TEMPLATE,
# in WORK_DIR) on DATA; it must succeed when EXPECTED_FAILURE is empty, and otherwise fail with a
# message that matches EXPECTED_FAILURE and write nothing.
function(run_generator name data expected_failure)
    set(input "${WORK_DIR}/${name}.tsv")
    set(output "${WORK_DIR}/${name}.inc")
    file(WRITE "${input}" "${data}")
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DTEMPLATE=${TEMPLATE} -DOUTPUT=${output}
                -P "${GENERATOR}"
        RESULT_VARIABLE result
        ERROR_VARIABLE errors)
    if(expected_failure STREQUAL "")
        if(NOT result EQUAL 0 OR NOT EXISTS "${output}")
            message(FATAL_ERROR "${name}: the generator refused good data:\n${errors}")
        endif()
    elseif(result EQUAL 0 OR EXISTS "${output}")
        message(FATAL_ERROR "${name}: the generator accepted bad data")
    elseif(NOT errors MATCHES "${expected_failure}")
        message(FATAL_ERROR "${name}: expected '${expected_failure}' in:\n${errors}")
    endif()
endfunction()
