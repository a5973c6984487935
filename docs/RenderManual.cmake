# Turns one Markdown page of the manual into HTML:
#   cmake -DCMARK=<cmark-gfm> -DINPUT=<page.md> -DOUTPUT=<page.html> -DTEMPLATE=<page.html.in> -P RenderManual.cmake
# cmark-gfm renders the page (tables on; raw HTML kept, the sources are ours). Then every heading gets an anchor
# named after its text (lower case, runs of other characters as one "-"), links to "x.md" become "x.html", and
# the body goes into the template (@TITLE@: the first heading, @BODY@).
execute_process(COMMAND ${CMARK} --unsafe -e table -e autolink -t html ${INPUT}
                RESULT_VARIABLE rc OUTPUT_VARIABLE body ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmark-gfm failed on ${INPUT}: ${err}")
endif()

set(out "")
set(title "")
set(rest "${body}")
while(rest MATCHES "<h([1-6])>")
  string(FIND "${rest}" "${CMAKE_MATCH_0}" start)
  set(level ${CMAKE_MATCH_1})
  string(FIND "${rest}" "</h${level}>" stop)
  math(EXPR text_start "${start} + 4")
  math(EXPR text_length "${stop} - ${text_start}")
  string(SUBSTRING "${rest}" 0 ${start} before)
  string(SUBSTRING "${rest}" ${text_start} ${text_length} text)
  math(EXPR after_start "${stop} + 5")
  string(SUBSTRING "${rest}" ${after_start} -1 rest)
  string(REGEX REPLACE "<[^>]*>" "" plain "${text}")
  string(REGEX REPLACE "&[a-z]+;" "" slug "${plain}")
  string(TOLOWER "${slug}" slug)
  string(REGEX REPLACE "[^a-z0-9]+" "-" slug "${slug}")
  string(REGEX REPLACE "^-+" "" slug "${slug}")
  string(REGEX REPLACE "-+$" "" slug "${slug}")
  if(title STREQUAL "")
    set(title "${plain}")
  endif()
  string(APPEND out "${before}<h${level} id=\"${slug}\"><a name=\"${slug}\"></a>${text}</h${level}>")
endwhile()
string(APPEND out "${rest}")
string(REGEX REPLACE "href=\"([A-Za-z0-9_-]+)\\.md#" "href=\"\\1.html#" out "${out}")
string(REGEX REPLACE "href=\"([A-Za-z0-9_-]+)\\.md\"" "href=\"\\1.html\"" out "${out}")

file(READ ${TEMPLATE} page)
string(REPLACE "@TITLE@" "${title}" page "${page}")
string(REPLACE "@BODY@" "${out}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
