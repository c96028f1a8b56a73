# Runs the DXCC tables' generator on the real data (which must pass) and on damaged copies of it
# (each of which must fail, naming what is wrong).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(READ "${GOOD_DATA}" good)
include("${CMAKE_CURRENT_LIST_DIR}/RunTableGenerator.cmake")

run_generator(unchanged "${good}" "")
run_generator(code_given_twice "${good}1\tELSEWHERE\t1\t\t\tnone\n" "code 1 appears more than once")
run_generator(key_named_twice "${good}999\tELSEWHERE\t0\tJA\tJA\texact\n" "the key JA names two")
string(REPLACE "\tJAPAN\t" "\tJA\"PAN\t" data "${good}")
run_generator(quote_in_name "${data}" "malformed line '339")
string(REPLACE "\tJAPAN\t0\tJA\tJA\t" "\tJAPAN\t0\tJA\tja\t" data "${good}")
run_generator(lower_case_key "${data}" "malformed line '339")
string(FIND "${good}" "\n" header_end)
math(EXPR rows_start "${header_end} + 1")
string(SUBSTRING "${good}" ${rows_start} -1 data)
run_generator(no_header "${data}" "the first line is not the header")
