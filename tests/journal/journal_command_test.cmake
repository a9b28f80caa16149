# Runs the program's command line on the example journal: the table, the
# JSON results, --strict and an unreadable file. The window system named in
# QT_QPA_PLATFORM does not exist, so any attempt to open one fails the run.
set(ENV{QT_QPA_PLATFORM} "no-such-window-system")
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})

# expect("<if condition>" "<message>"): fails the test unless the condition holds.
macro(expect condition message)
  cmake_language(EVAL CODE "if(NOT (${condition}))\n message(FATAL_ERROR [==[${message}]==])\nendif()")
endmacro()

execute_process(COMMAND ${TESMIR} --journal ${JOURNAL} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect("rc EQUAL 0" "table: exit ${rc}, ${err}")
string(FIND "${out}" "W10 " at)
expect("at GREATER -1" "table: no line W10 in\n${out}")
string(FIND "${out}" "Срабатывание за нормативное время" at)
expect("at GREATER -1" "table: no verdict in\n${out}")

file(REMOVE ${OUT})
execute_process(COMMAND ${TESMIR} --journal ${JOURNAL} --results ${OUT} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
expect("rc EQUAL 0" "json: exit ${rc}, ${err}")
expect("out STREQUAL \"\"" "json: the table was printed as well")
file(READ ${OUT} json)
string(JSON format GET "${json}" format)
expect("format STREQUAL tesmir-journal-results" "json: format ${format}")
string(JSON count LENGTH "${json}" lines)
expect("count EQUAL 10" "json: ${count} lines")
string(JSON id GET "${json}" lines 0 id)
expect("id STREQUAL W1" "json: first line ${id}")
string(JSON ik1 GET "${json}" lines 9 ik1)
expect("ik1 GREATER 100" "json: ik1 of W10 is ${ik1}")
string(JSON verdict GET "${json}" lines 9 verdict)
expect("verdict STREQUAL [[Срабатывание за нормативное время]]" "json: verdict ${verdict}")

execute_process(COMMAND ${TESMIR} --journal ${JOURNAL} --strict RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
expect("rc EQUAL 1" "strict: exit ${rc} although some lines exceed the voltage drop")

execute_process(COMMAND ${TESMIR} --journal ${TESMIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect("rc EQUAL 2" "unreadable: exit ${rc}")
string(FIND "${err}" "Файл не является файлом журнала линий Тесмир или поврежден: " at)
expect("at EQUAL 0" "unreadable: message ${err}")

execute_process(COMMAND ${TESMIR} --help RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
string(FIND "${out}" "--journal" at)
expect("at GREATER -1" "help: no --journal in\n${out}")
