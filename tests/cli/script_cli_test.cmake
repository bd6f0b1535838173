# Driver of the vardo-script tests (cmake -P): MODE, TOOL and WORK come from CTest.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/JWC_TEMP.TXT"
     "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\nlg0\nly0\nlc2\n"
     "0 0 100 0\n100 0 100 100\n100 100 0 100\n0 100 0 0\n")
string(CONCAT hatch_scenario "size 400 300\nshow\nmono on\nclick 200 150\nspacing 10\nrun\n"
                            "print counters\nscreenshot ${WORK}/after.png\nok\n")

function(run)
  cmake_parse_arguments(ARG "" "INPUT" "" ${ARGN})
  set(input)
  if(ARG_INPUT)
    set(input INPUT_FILE "${ARG_INPUT}")
  endif()
  execute_process(COMMAND "${TOOL}" ${ARG_UNPARSED_ARGUMENTS} ${input} RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(rc "${rc}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect what got want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${what}: got [${got}], expected [${want}]")
  endif()
endfunction()

# The hatch run leaves its lines in the exchange file, which then begins with "hd".
function(expect_hatch_written)
  expect("exit code" "${rc}" "0")
  expect("stdout" "${out}" "線:9　点:0　円弧:0\n")
  file(READ "${WORK}/JWC_TEMP.TXT" written LIMIT 4 HEX)
  expect("exchange file start" "${written}" "68640d0a")
  if(NOT EXISTS "${WORK}/VardoHatch.dat" OR NOT EXISTS "${WORK}/after.png")
    message(FATAL_ERROR "settings file or screenshot missing")
  endif()
endfunction()

if(MODE STREQUAL "scenario")
  file(WRITE "${WORK}/hatch.txt" "${hatch_scenario}")
  run(--dir "${WORK}" "${WORK}/hatch.txt")
  expect_hatch_written()
elseif(MODE STREQUAL "stdin")
  file(WRITE "${WORK}/hatch.txt" "${hatch_scenario}")
  run(--dir "${WORK}" - INPUT "${WORK}/hatch.txt")
  expect_hatch_written()
elseif(MODE STREQUAL "unwritable")
  # A folder where the exchange file's temporary copy goes: OK fails, the message says why, and
  # the end of the scenario closes the window without writing.
  file(READ "${WORK}/JWC_TEMP.TXT" drawing)
  file(WRITE "${WORK}/JWC_TEMP.TXT.vardo-tmp/keep" "x")
  file(WRITE "${WORK}/hatch.txt"
       "size 400 300\nshow\nmono on\nclick 200 150\nspacing 10\nrun\nok\nprint message\n")
  run(--dir "${WORK}" "${WORK}/hatch.txt")
  expect("exit code" "${rc}" "0")
  string(CONCAT message "JWC_TEMP.TXT を書き込めませんでした。\n理由：同じ名前のフォルダーがあります。\n"
                        "作図したハッチはそのままです。原因を取り除いてからもう一度ＯＫを押すか、"
                        "キャンセルで終了して下さい。\n")
  expect("stdout" "${out}" "${message}")
  file(READ "${WORK}/JWC_TEMP.TXT" after)
  expect("exchange file" "${after}" "${drawing}")
  if(EXISTS "${WORK}/VardoHatch.dat")
    message(FATAL_ERROR "the settings were saved")
  endif()
elseif(MODE STREQUAL "usage")
  run()
  expect("exit code without arguments" "${rc}" "2")
  if(NOT err MATCHES "^usage: vardo-script")
    message(FATAL_ERROR "usage text expected, got: [${err}]")
  endif()
  run(--dir "${WORK}" "${WORK}/missing.txt")
  expect("exit code for a missing scenario" "${rc}" "2")
  expect("message" "${err}" "vardo-script: cannot read ${WORK}/missing.txt\n")
  file(WRITE "${WORK}/bad.txt" "show\nzoom 2\nok\n")
  run(--dir "${WORK}" "${WORK}/bad.txt")
  expect("exit code for a bad line" "${rc}" "2")
  expect("message" "${err}" "vardo-script: line 2: unknown command \"zoom\"\n")
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()
