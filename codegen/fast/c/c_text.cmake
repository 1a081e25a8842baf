# Turns a C file of the fast style into the text its generator writes, at
# build time:
#   cmake -DIN=<file.c> -DOUT=<file.cpp> -DSYMBOL=<name> -DHOLES=WORD=key,... -P c_text.cmake
# The text is what follows the file's marker line, with line ends LF (the
# writer of the generated files makes them CR LF), and each hole, a WORD the
# file's own lines above the marker define, made the placeholder @{key}
# wherever it stands as a whole word, comments included. OUT defines
# SYMBOL as a NUL-terminated char array: no limit of string literals
# applies, and every byte stays as it was.
cmake_minimum_required(VERSION 3.25)

set(marker "/* ==== generated files carry this file from here on ==== */\n")
set(word_char "A-Za-z0-9_")

file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
if(text MATCHES "\r")
  message(FATAL_ERROR "${IN}: a CR that does not end a line")
endif()
string(FIND "${text}" "${marker}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${IN}: no marker line ${marker}")
endif()
string(LENGTH "${marker}" length)
math(EXPR at "${at} + ${length}")
string(SUBSTRING "${text}" ${at} -1 text)
string(FIND "${text}" "${marker}" again)
if(NOT again EQUAL -1)
  message(FATAL_ERROR "${IN}: the marker line twice")
endif()
if(text MATCHES "@")
  message(FATAL_ERROR "${IN}: an @ in the text, where only holes may become placeholders")
endif()

string(REPLACE "," ";" holes "${HOLES}")
set(words "")
foreach(hole IN LISTS holes)
  if(NOT hole MATCHES "^([A-Za-z_][${word_char}]*)=([A-Za-z_][${word_char}]*)$")
    message(FATAL_ERROR "${IN}: the hole '${hole}' is not WORD=key")
  endif()
  list(APPEND words "${CMAKE_MATCH_1}")
endforeach()
foreach(hole IN LISTS holes)
  string(REGEX MATCH "^([^=]*)=(.*)$" hole "${hole}")
  set(word "${CMAKE_MATCH_1}")
  set(key "${CMAKE_MATCH_2}")
  # A placeholder whose key is a hole would be taken again, for ever.
  if(key IN_LIST words)
    message(FATAL_ERROR "${IN}: the key ${key} is also a hole")
  endif()
  # A match takes the character on each side of the word, so that of two
  # holes one character apart only the first is taken in one round.
  set(before "")
  while(NOT before STREQUAL text)
    set(before "${text}")
    string(REGEX REPLACE "([^${word_char}])${word}([^${word_char}])" "\\1@{${key}}\\2" text "${text}")
  endwhile()
  if(text MATCHES "(^|[^${word_char}])${word}([^${word_char}]|$)")
    message(FATAL_ERROR "${IN}: the hole ${word} at the very start or end of the text")
  endif()
  string(FIND "${text}" "@{${key}}" used)
  if(used EQUAL -1)
    message(FATAL_ERROR "${IN}: the hole ${word} does not occur in the text")
  endif()
endforeach()

string(HEX "${text}" hex)
if(hex MATCHES "^(..)*[89a-f]")
  message(FATAL_ERROR "${IN}: a byte outside ASCII in the text")
endif()
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Built from ${IN} by c_text.cmake: edit the C file, not this one.
#include \"codegen/fast/c_texts.h\"

const char ${SYMBOL}[] = {
${bytes}0x00};
")
