# cmake -DRECIBO_LOTE=<program> -DTABLE=<table.csv> -DLOCALE=<C|es_AR|en_US> -P run_example.cmake
cmake_minimum_required(VERSION 3.25)

# Runs recibo-lote on the sample table under the given regional settings and
# checks that it computed every teacher: exit status 0, nothing on standard error, and one JSON object per
# data row (the table's lines less the header; its cells hold no line breaks).
execute_process(
    COMMAND ${RECIBO_LOTE} --locale ${LOCALE} ${TABLE}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "recibo-lote ended with status ${status}: ${errors}")
endif()
if(NOT errors STREQUAL "")
    message(FATAL_ERROR "recibo-lote wrote to standard error: ${errors}")
endif()

file(STRINGS ${TABLE} table_lines ENCODING UTF-8)
list(FILTER table_lines EXCLUDE REGEX "^[ \t\r]*$")
list(LENGTH table_lines table_count)
math(EXPR expected "${table_count} - 1")

string(REGEX MATCHALL "[^\n]+" output_lines "${output}")
list(LENGTH output_lines output_count)
if(NOT output_count EQUAL expected)
    message(FATAL_ERROR "expected ${expected} receipts, got ${output_count} lines")
endif()
set(row 0)
foreach(line IN LISTS output_lines)
    math(EXPR row "${row} + 1")
    if(NOT line MATCHES "^\\{\"fila\":${row},\"docente\":.*,\"liquido\":\"\\$ -?[0-9.,]+\",\"escala\":\"Escala de septiembre de 2010\"\\}$")
        message(FATAL_ERROR "line ${row} is not a computed receipt: ${line}")
    endif()
endforeach()
message(STATUS "${output_count} receipts")
