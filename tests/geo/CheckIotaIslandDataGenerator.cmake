# Runs the IOTA table's generator on the real data (which must pass) and on damaged copies of it
# (each of which must fail, naming what is wrong).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(READ "${GOOD_DATA}" good)

include("${CMAKE_CURRENT_LIST_DIR}/RunTableGenerator.cmake")

run_generator(unchanged "${good}" "")

string(REGEX REPLACE "SA100\t[^\n]*\n" "" data "${good}")
run_generator(missing_reference "${data}" "SA100 is missing")

string(REGEX MATCH "AF001\t[^\n]*\n" row "${good}")
run_generator(duplicate_reference "${good}${row}" "AF001 appears more than once")

run_generator(excluded_reference "${good}AF034\t0\t0\tnone\n" "AF034 is not an IOTA")
run_generator(beyond_range "${good}AN022\t0\t0\tnone\n" "AN022 is not an IOTA")

string(REPLACE "AF001\t10191\t" "AF001\t010191\t" data "${good}")
run_generator(leading_zero "${data}" "malformed line 'AF001")

string(REPLACE "AF001\t10191\t" "AF001\t32401\t" data "${good}")
run_generator(out_of_bounds "${data}" "AF001 longitude 32401 is outside")

string(REPLACE "AF001\t10191\t-1872\t" "AF001\t10191\t\t" data "${good}")
run_generator(empty_latitude "${data}" "malformed line 'AF001")

string(FIND "${good}" "\n" header_end)
math(EXPR rows_start "${header_end} + 1")
string(SUBSTRING "${good}" ${rows_start} -1 data)
run_generator(no_header "${data}" "the first line is not the header")

run_generator(empty "" "the first line is not the header")
