# Writes a compiled-in table from data/dxcc-adif.tsv (columns code, name, deleted, cty_prefix, key,
# how): TEMPLATE is filled with both tables, each under its own name, and names the one it holds —
#   DXCC_ADIF_ENTRIES         ADIF entity code -> DXCC table key, ascending by code (codes
#                             without a key left out);
#   DXCC_ENTITY_NAME_ENTRIES  DXCC table key -> entity name, in ascending byte order of the keys.
# Fails on a line that is not well-formed, a code given twice or a key given to two entities.
# Usage: cmake -DINPUT=<tsv> -DTEMPLATE=<in> -DOUTPUT=<inc> -P GenerateDxccTables.cmake
cmake_minimum_required(VERSION 3.25)

set(problems "")
file(STRINGS "${INPUT}" lines)
set(header "")
if(lines)
    list(GET lines 0 header)
endif()
if(NOT header STREQUAL "code\tname\tdeleted\tcty_prefix\tkey\thow")
    string(APPEND problems "\n  the first line is not the header code, name, deleted, cty_prefix, key, how")
endif()

set(codes "")
set(keys "")
set(code_entries "")
set(on_header TRUE)
foreach(line IN LISTS lines)
    if(on_header)
        set(on_header FALSE)
        continue()
    endif()
    # A name is printable text without the characters that a C++ string would need escaped.
    if(NOT line MATCHES
       "^([1-9][0-9]*)\t([^\t\"\\\\]+)\t[01]\t[^\t]*\t([A-Z0-9/]*)\t(exact|case|override|none)$")
        string(APPEND problems "\n  malformed line '${line}'")
        continue()
    endif()
    set(code "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    set(key "${CMAKE_MATCH_3}")
    if(code IN_LIST codes)
        string(APPEND problems "\n  code ${code} appears more than once")
    endif()
    list(APPEND codes ${code})
    if(key STREQUAL "")
        continue()
    endif()
    if(DEFINED name_${key})
        string(APPEND problems "\n  the key ${key} names two entities")
        continue()
    endif()
    set(name_${key} "${name}")
    list(APPEND keys ${key})
    # Codes are zero-padded for the sort, so that the table ascends numerically.
    string(LENGTH "${code}" digits)
    math(EXPR padding "4 - ${digits}")
    string(REPEAT "0" ${padding} zeros)
    list(APPEND code_entries "${zeros}${code}\t${key}")
endforeach()

if(problems)
    message(FATAL_ERROR "${INPUT} cannot give the DXCC tables:${problems}")
endif()

list(SORT code_entries)
set(DXCC_ADIF_ENTRIES "")
foreach(entry IN LISTS code_entries)
    string(REPLACE "\t" ";" parts "${entry}")
    list(GET parts 0 code)
    list(GET parts 1 key)
    string(REGEX REPLACE "^0+" "" code "${code}")
    string(APPEND DXCC_ADIF_ENTRIES "    {${code}, \"${key}\"},\n")
endforeach()

list(SORT keys COMPARE STRING)
set(DXCC_ENTITY_NAME_ENTRIES "")
foreach(key IN LISTS keys)
    string(APPEND DXCC_ENTITY_NAME_ENTRIES "    {\"${key}\", \"${name_${key}}\"},\n")
endforeach()
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
