# Turns one manual page (CommonMark with tables, cmark-gfm) into an HTML page of the help window:
#   cmake -DCMARK=cmark-gfm -DSOURCE=page.md -DOUTPUT=page.html -P page.cmake
# The page title is the text of the first "# " heading.
execute_process(COMMAND ${CMARK} --to html --extension table ${SOURCE}
                OUTPUT_VARIABLE body RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmark failed on ${SOURCE}: ${err}")
endif()
file(STRINGS ${SOURCE} headings REGEX "^# " LIMIT_COUNT 1 ENCODING UTF-8)
string(REGEX REPLACE "^# " "" title "${headings}")
file(WRITE ${OUTPUT}
"<!DOCTYPE html>
<html lang=\"ja\">
<head>
<meta charset=\"utf-8\">
<title>${title} - Paylark給与計算</title>
<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">
</head>
<body>
${body}</body>
</html>
")
