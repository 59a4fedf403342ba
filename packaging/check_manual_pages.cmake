# Fails unless the manual page names every command of orcalc-cli, the sheet
# files, the exit statuses and an example (with CHINESE_ONLY, any page: only
# that its Chinese is intact).
file(READ ${PAGES} page)

# Fails naming `why` unless the page holds every text given.
function(require_texts why)
  foreach(needed ${ARGN})
    string(FIND "${page}" "${needed}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${PAGES} ${why} '${needed}'")
    endif()
  endforeach()
endfunction()

if(NOT CHINESE_ONLY)
  require_texts("does not mention" "layout lp" "layout goal" "\n.SS \"lp:\"" "goal:" "stats:"
                "sensitivity:" "graph:" "export:" "SHEET FILES" "MODEL FILES" "EXIT STATUS" "EXAMPLES" "--version"
                "exit status 3" "iteration_limit" "not_certified" "steps lp example.csv")
  set(chinese_needed "目标函数")
else()
  set(chinese_needed "计算")
endif()

# The help's Chinese survives: help2man run in a locale without UTF-8 turns
# every CJK character into '?'.
require_texts("lacks" ${chinese_needed})
string(REGEX MATCH "\\?\\?+" question_marks "${page}")
if(question_marks)
  message(FATAL_ERROR "${PAGES} shows Chinese as '${question_marks}'")
endif()
