# cmake -DRECIBO_LOTE=<program> -DTABLE=<table.csv> -DFOLDER=<new folder> -P run_pdf_example.cmake
cmake_minimum_required(VERSION 3.25)

# recibo-lote --pdf on the sample table, as from a terminal without any
# display: every teacher computed, one PDF per row named NNNN-<docente>.pdf,
# nothing on standard error, nothing left in TMPDIR. Then a folder that cannot take files: exit
# status 2 and nothing on standard output.
# With no runtime folder from the system (XDG_RUNTIME_DIR unset), nothing
# is left in TMPDIR.
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER}/tmp)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            --unset=XDG_RUNTIME_DIR TMPDIR=${FOLDER}/tmp
            ${RECIBO_LOTE} --locale C --pdf ${FOLDER}/recibos ${TABLE}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "recibo-lote --pdf ended with status ${status}: ${errors}")
endif()
if(NOT errors STREQUAL "")
    message(FATAL_ERROR "recibo-lote --pdf wrote to standard error: ${errors}")
endif()

file(GLOB leftovers ${FOLDER}/tmp/*)
if(leftovers)
    message(FATAL_ERROR "recibo-lote --pdf left in TMPDIR: ${leftovers}")
endif()

string(REGEX MATCHALL "[^\n]+" output_lines "${output}")
list(LENGTH output_lines rows)
file(GLOB pdfs RELATIVE ${FOLDER}/recibos ${FOLDER}/recibos/*)
list(LENGTH pdfs count)
if(NOT count EQUAL rows OR rows EQUAL 0)
    message(FATAL_ERROR "${rows} receipts but ${count} files: ${pdfs}")
endif()
set(row 0)
list(SORT pdfs)
foreach(pdf IN LISTS pdfs)
    math(EXPR row "${row} + 1")
    string(LENGTH "000${row}" digits)
    math(EXPR from "${digits} - 4")
    string(SUBSTRING "000${row}" ${from} 4 number)
    if(NOT pdf MATCHES "^${number}-[^ /]+\\.pdf$")
        message(FATAL_ERROR "file ${row} is named ${pdf}")
    endif()
    file(READ ${FOLDER}/recibos/${pdf} head LIMIT 8)
    if(NOT head MATCHES "^%PDF-")
        message(FATAL_ERROR "${pdf} is not a PDF file")
    endif()
endforeach()

file(WRITE ${FOLDER}/archivo "x")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            ${RECIBO_LOTE} --locale C --pdf ${FOLDER}/archivo ${TABLE}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
if(NOT status EQUAL 2 OR NOT output STREQUAL "" OR NOT errors MATCHES "archivo")
    message(FATAL_ERROR "an unusable folder gave status ${status}, output '${output}', errors '${errors}'")
endif()
message(STATUS "${count} PDF receipts")
