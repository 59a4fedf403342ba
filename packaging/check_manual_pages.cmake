# Fails unless the manual page names every command of orcalc-cli, the sheet
# files, the exit statuses and an example.
file(READ ${PAGES} page)
foreach(needed "layout lp" "layout goal" "\n.SS \"lp:\"" "goal:" "stats:" "sensitivity:" "graph:" "SHEET FILES"
        "EXIT STATUS" "EXAMPLES" "--version")
  string(FIND "${page}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PAGES} does not mention '${needed}'")
  endif()
endforeach()
