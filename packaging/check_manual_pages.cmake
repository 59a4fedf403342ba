# Fails unless the manual page names every command of orcalc-cli, the sheet
# files, the exit statuses and an example (with CHINESE_ONLY, any page: only
# that its Chinese is intact).
file(READ ${PAGES} page)
if(CHINESE_ONLY)
  set(cli_needed)
  set(chinese_needed "计算")
else()
  set(cli_needed "layout lp" "layout goal" "\n.SS \"lp:\"" "goal:" "stats:" "sensitivity:" "graph:" "SHEET FILES"
        "EXIT STATUS" "EXAMPLES" "--version" "exit status 3")
  set(chinese_needed "目标函数")
endif()
foreach(needed ${cli_needed})
  string(FIND "${page}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PAGES} does not mention '${needed}'")
  endif()
endforeach()

# The help's Chinese survives: help2man run in a locale without UTF-8 turns
# every CJK character into '?'.
foreach(needed ${chinese_needed})
  string(FIND "${page}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PAGES} lacks '${needed}'")
  endif()
endforeach()
string(REGEX MATCH "\\?\\?+" question_marks "${page}")
if(question_marks)
  message(FATAL_ERROR "${PAGES} shows Chinese as '${question_marks}'")
endif()
