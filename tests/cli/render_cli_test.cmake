# Driver of the vardo-render tests (cmake -P): MODE, TOOL, PROBE, FIXTURES and WORK come from
# CTest. PROBE prints a PNG's size, its colours and chosen pixels (png_probe.cpp).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(drawing "${FIXTURES}/render.drw")

function(run)
  execute_process(COMMAND "${TOOL}" ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  set(rc "${rc}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect what got want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${what}: got [${got}], expected [${want}]")
  endif()
endfunction()

# Reads the picture back and compares the probe's report: "W H", the colours, then one line per
# pixel, given as triples X Y colour.
function(expect_picture png size colours)
  set(coords)
  set(want "${size}\ncolours ${colours}\n")
  set(pairs ${ARGN})
  list(LENGTH pairs n)
  if(n GREATER 0)
    math(EXPR last "${n} - 1")
    foreach(i RANGE 0 ${last} 3)
      math(EXPR j "${i} + 1")
      math(EXPR k "${i} + 2")
      list(GET pairs ${i} x)
      list(GET pairs ${j} y)
      list(GET pairs ${k} value)
      list(APPEND coords ${x} ${y})
      string(APPEND want "${value}\n")
    endforeach()
  endif()
  execute_process(COMMAND "${PROBE}" "${png}" ${coords} RESULT_VARIABLE probe_rc
                  OUTPUT_VARIABLE report ERROR_VARIABLE probe_err)
  expect("probe of ${png}" "${probe_rc}${probe_err}" "0")
  expect("picture ${png}" "${report}" "${want}")
endfunction()

# The drawing (render.drw) spans x -100..100 and y -50..50, so a 200 x 100 paint box shows it
# at 0.9 pixels per unit with the drawing origin at pixel (100, 50).
set(frame 0 0 FFFF00 198 98 FFFF00 199 99 FFFFFF 199 0 FFFFFF 0 99 FFFFFF)
set(origin_mark 100 50 0000FF)

if(MODE STREQUAL "colour")
  run("${drawing}" "${WORK}/colour.png" --size 200 100)
  expect("exit code" "${rc}" "0")
  expect("stdout" "${out}" "")
  # The bottom line in colour 5, the dotted top line in colour 2 (three pixels on, three off),
  # a solid in its own blue, a solid in colour 3 and a point in colour 1.
  expect_picture("${WORK}/colour.png" "200 100"
                 "000000 0000FF 00C000 C000C0 C0C000 FF0000 FFFF00 FFFFFF"
                 ${frame} ${origin_mark} 100 95 C000C0 10 5 000000 13 5 FFFFFF 16 5 000000
                 40 80 FF0000 175 80 00C000)
elseif(MODE STREQUAL "mono")
  # Everything black but the solid of its own colour; frame and origin mark keep theirs.
  run("${drawing}" "${WORK}/mono.png" --mono --size 200 100)
  expect("exit code" "${rc}" "0")
  expect_picture("${WORK}/mono.png" "200 100" "000000 0000FF FF0000 FFFF00 FFFFFF"
                 ${frame} ${origin_mark} 100 95 000000 10 5 000000 13 5 000000
                 40 80 FF0000 175 80 000000)
elseif(MODE STREQUAL "default_size")
  # A missing file reads as an empty drawing, whose extents -100..100 centre the origin.
  run("${WORK}/missing.txt" "${WORK}/empty.png")
  expect("exit code" "${rc}" "0")
  expect_picture("${WORK}/empty.png" "800 600" "0000FF FFFF00 FFFFFF"
                 0 0 FFFF00 798 598 FFFF00 799 599 FFFFFF 400 300 0000FF)
elseif(MODE STREQUAL "pick")
  # A line's first end point, the point entity (scanned before everything else), empty space
  # and the last corner of the second solid.
  run("${drawing}" "${WORK}/pick.png" --size 200 100 --pick 11 94 --pick 145 50
      --pick 100 75 --pick 181 59)
  expect("exit code" "${rc}" "0")
  expect("stdout" "${out}" "hit 1 0 -100 -50\nhit 5 0 50 0\nmiss\nhit 10 1 90 -10\n")
elseif(MODE STREQUAL "unwritable")
  set(target "${WORK}/no such folder/out.png")
  run("${drawing}" "${target}" --pick 11 94)
  expect("exit code" "${rc}" "2")
  expect("stdout" "${out}" "")
  expect("stderr" "${err}" "vardo-render: cannot write ${target}\n")
  file(GLOB left "${WORK}/*")
  expect("files left behind" "${left}" "")
elseif(MODE STREQUAL "same_as_window")
  # vardo-render writes what the window shows: the same PNG as a screenshot vardo-script takes
  # after start-up, in colour and in monochrome, for the fixture, a missing file and a drawing
  # whose indicated points switch the grid on.
  file(READ "${drawing}" fixture)
  file(WRITE "${WORK}/grid.txt" "${fixture}hp1 10 20\nhp2 -30 -25\n")
  foreach(input "${drawing}" "${WORK}/grid.txt" "${WORK}/missing.txt")
    foreach(mono "" "mono on\n")
      set(dir "${WORK}/window")
      file(REMOVE_RECURSE "${dir}")
      file(MAKE_DIRECTORY "${dir}")
      if(EXISTS "${input}")
        file(COPY_FILE "${input}" "${dir}/JWC_TEMP.TXT")
      endif()
      file(WRITE "${WORK}/scenario.txt" "size 200 100\nshow\n${mono}screenshot ${WORK}/window.png\n")
      execute_process(COMMAND "${SCRIPT}" --dir "${dir}" "${WORK}/scenario.txt"
                      RESULT_VARIABLE script_rc ERROR_VARIABLE script_err)
      expect("vardo-script on ${input}" "${script_rc}${script_err}" "0")
      set(options --size 200 100)
      if(mono)
        list(APPEND options --mono)
      endif()
      run("${input}" "${WORK}/render.png" ${options})
      expect("vardo-render on ${input}" "${rc}${err}" "0")
      file(SHA256 "${WORK}/window.png" window_hash)
      file(SHA256 "${WORK}/render.png" render_hash)
      expect("pictures of ${input} [${mono}]" "${render_hash}" "${window_hash}")
    endforeach()
  endforeach()
  # The grid: grey lines every 9 pixels (10 units) through the indicated point (10, 20), at
  # pixel (109, 32), which has a blue cross.
  run("${WORK}/grid.txt" "${WORK}/grid.png" --size 200 100)
  expect_picture("${WORK}/grid.png" "200 100"
                 "000000 0000FF 00C000 C000C0 C0C000 C0C0C0 FF0000 FFFF00 FFFFFF"
                 ${origin_mark} 109 32 FF0000 104 32 FF0000 109 27 FF0000 64 40 C0C0C0
                 30 32 C0C0C0 30 33 FFFFFF)
elseif(MODE STREQUAL "usage")
  set(out_png "${WORK}/out.png")
  # Expected message, then the arguments separated by "|".
  set(cases
      "^usage: vardo-render" ""
      "^usage: vardo-render" "${drawing}"
      "^usage: vardo-render" "${drawing}|${out_png}|third"
      "^vardo-render: --size wants each side" "${drawing}|${out_png}|--size|0|10"
      "^vardo-render: --size wants each side" "${drawing}|${out_png}|--size|10|-5"
      "^vardo-render: --size wants each side" "${drawing}|${out_png}|--size|16385|10"
      "^vardo-render: --size wants two whole numbers" "${drawing}|${out_png}|--size|10"
      "^vardo-render: --size wants two whole numbers" "${drawing}|${out_png}|--size|10|1e3"
      "^vardo-render: --pick wants two whole numbers" "${drawing}|${out_png}|--pick|5"
      "^vardo-render: --pick wants two whole numbers" "${drawing}|${out_png}|--pick|5|x"
      "^vardo-render: unknown option --colour" "${drawing}|${out_png}|--colour")
  list(LENGTH cases n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET cases ${i} want)
    list(GET cases ${j} args)
    string(REPLACE "|" ";" args "${args}")
    run(${args})
    expect("exit code for [${args}]" "${rc}" "2")
    if(NOT err MATCHES "${want}" OR NOT err MATCHES "^[^\n]+\n$")
      message(FATAL_ERROR "one line matching ${want} expected for [${args}], got: [${err}]")
    endif()
    if(EXISTS "${out_png}")
      message(FATAL_ERROR "a picture was written for [${args}]")
    endif()
  endforeach()
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()
