# Writes the program's icon as a resource script:
#   cmake -DOUTPUT=<file.rc> -DIDS_HEADER=<window/resource_ids.h> -P make_icon.cmake
# The picture is drawn below as text, one hex digit (a colour of the 16-colour
# palette) per pixel and "." for a transparent one. The image and the group
# icon are written as raw resource data, so no binary .ico file is needed and
# the script has nothing to run but CMake itself.
cmake_minimum_required(VERSION 3.25)
if(NOT OUTPUT OR NOT IDS_HEADER)
  message(FATAL_ERROR "usage: cmake -DOUTPUT=<file.rc> -DIDS_HEADER=<header> -P make_icon.cmake")
endif()

set(picture
  "..FFFFFFFFFFFFFFFFFFFFFFFFFFFF.."
  ".FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF."
  "FF4444444444444444444444444444FF"
  "FF4444444444444444444444444444FF"
  "FF4444444444444444444444444444FF"
  "FF4444444444444444444444444444FF"
  "FF44444444BB444444444444444444FF"
  "FF44444444BB444444444444444444FF"
  "FF44444444BB444444444444444444FF"
  "FF44444444BB444444444444444444FF"
  "FF44444444BB444444444444444444FF"
  "FF44444444BB444444444444444444FF"
  "FF44444444BB4BB444444444444444FF"
  "FF44444444BB4BB444444444444444FF"
  "FF44444444BB4BB444444444444444FF"
  "FF44444444BB4BB4444BB444444444FF"
  "FF44444444BB4BB4444BB444444444FF"
  "FF44444BB4BB4BB4444BB444444444FF"
  "FF44444BB4BB4BB4444BB444444444FF"
  "FF44444BB4BB4BB4444BB444444444FF"
  "FF44444BB4BB4BB4BB4BB444444444FF"
  "FF44444BB4BB4BB4BB4BB444444444FF"
  "FF44444BB4BB4BB4BB4BB4BB444444FF"
  "FF44BB4BB4BB4BB4BB4BB4BB444444FF"
  "FF44BB4BB4BB4BB4BB4BB4BB4BB444FF"
  "FF44BB4BB4BB4BB4BB4BB4BB4BB444FF"
  "FF4EEEEEEEEEEEEEEEEEEEEEEEEEE4FF"
  "FF4444444444444444444444444444FF"
  "FF4444444444444444444444444444FF"
  "FF4444444444444444444444444444FF"
  ".FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF."
  "..FFFFFFFFFFFFFFFFFFFFFFFFFFFF.."
)

# The standard 16-colour palette, as red green blue.
set(palette
  000000 800000 008000 808000 000080 800080 008080 C0C0C0
  808080 FF0000 00FF00 FFFF00 0000FF FF00FF 00FFFF FFFFFF)

set(size 32)
set(hexDigits "0123456789ABCDEF")

list(LENGTH picture rows)
if(NOT rows EQUAL size)
  message(FATAL_ERROR "the picture has ${rows} rows, not ${size}")
endif()
foreach(row IN LISTS picture)
  string(LENGTH "${row}" columns)
  if(NOT columns EQUAL size)
    message(FATAL_ERROR "picture row '${row}' is not ${size} pixels wide")
  endif()
endforeach()

# Appends `value` to the byte list `var` as `count` little-endian bytes.
function(append_le var value count)
  set(bytes ${${var}})
  foreach(i RANGE 1 ${count})
    math(EXPR byte "${value} % 256")
    math(EXPR value "${value} / 256")
    list(APPEND bytes ${byte})
  endforeach()
  set(${var} ${bytes} PARENT_SCOPE)
endfunction()

function(hex_value out text)
  string(TOUPPER "${text}" text)
  set(value 0)
  string(LENGTH "${text}" n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE ${last})
    string(SUBSTRING "${text}" ${i} 1 digit)
    string(FIND "${hexDigits}" "${digit}" d)
    if(d LESS 0)
      message(FATAL_ERROR "'${text}' is not hexadecimal")
    endif()
    math(EXPR value "${value} * 16 + ${d}")
  endforeach()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

# Bitmaps are stored bottom row first.
list(REVERSE picture)

set(colourRowBytes 16)  # 32 pixels at 4 bits, already a multiple of 4
set(maskRowBytes 4)     # 32 pixels at 1 bit
math(EXPR imageBytes "40 + 16 * 4 + ${size} * (${colourRowBytes} + ${maskRowBytes})")

set(image)
append_le(image 40 4)                   # header size
append_le(image ${size} 4)              # width
math(EXPR doubleHeight "${size} * 2")   # colour bitmap and mask together
append_le(image ${doubleHeight} 4)
append_le(image 1 2)                    # planes
append_le(image 4 2)                    # bits per pixel
append_le(image 0 4)                    # no compression
math(EXPR bitsBytes "${size} * (${colourRowBytes} + ${maskRowBytes})")
append_le(image ${bitsBytes} 4)
foreach(unused RANGE 1 4)               # resolution and colour counts unused
  append_le(image 0 4)
endforeach()

foreach(rgb IN LISTS palette)
  string(SUBSTRING ${rgb} 0 2 r)
  string(SUBSTRING ${rgb} 2 2 g)
  string(SUBSTRING ${rgb} 4 2 b)
  foreach(part b g r)
    hex_value(v ${${part}})
    list(APPEND image ${v})
  endforeach()
  list(APPEND image 0)
endforeach()

foreach(row IN LISTS picture)
  foreach(x RANGE 0 30 2)
    math(EXPR x1 "${x} + 1")
    set(pair)
    foreach(px ${x} ${x1})
      string(SUBSTRING "${row}" ${px} 1 c)
      if(c STREQUAL ".")
        set(c 0)
      endif()
      hex_value(v ${c})
      list(APPEND pair ${v})
    endforeach()
    list(GET pair 0 hi)
    list(GET pair 1 lo)
    math(EXPR byte "${hi} * 16 + ${lo}")
    list(APPEND image ${byte})
  endforeach()
endforeach()

# Mask: a set bit lets the background show through, leftmost pixel highest.
foreach(row IN LISTS picture)
  foreach(x0 RANGE 0 24 8)
    set(byte 0)
    foreach(bit RANGE 0 7)
      math(EXPR px "${x0} + ${bit}")
      string(SUBSTRING "${row}" ${px} 1 c)
      if(c STREQUAL ".")
        math(EXPR byte "${byte} | (128 >> ${bit})")
      endif()
    endforeach()
    list(APPEND image ${byte})
  endforeach()
endforeach()

list(LENGTH image n)
if(NOT n EQUAL imageBytes)
  message(FATAL_ERROR "icon image is ${n} bytes, expected ${imageBytes}")
endif()

set(imageId 1)
set(group)
append_le(group 0 2)            # reserved
append_le(group 1 2)            # type: icon
append_le(group 1 2)            # one image
list(APPEND group ${size} ${size} 16 0)
append_le(group 1 2)            # planes
append_le(group 4 2)            # bits per pixel
append_le(group ${imageBytes} 4)
append_le(group ${imageId} 2)

# Raw resource data is a list of 16-bit words; every structure above has an
# even length.
function(as_words out)
  set(bytes ${ARGN})
  list(LENGTH bytes n)
  math(EXPR last "${n} - 2")
  set(words)
  set(column 0)
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET bytes ${i} lo)
    list(GET bytes ${j} hi)
    math(EXPR word "${lo} + ${hi} * 256" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND words "${word}, ")
    math(EXPR column "${column} + 1")
    if(column EQUAL 12)
      string(APPEND words "\n  ")
      set(column 0)
    endif()
  endforeach()
  string(REGEX REPLACE ",[ \n]*$" "" words "${words}")
  set(${out} "  ${words}" PARENT_SCOPE)
endfunction()

as_words(imageWords ${image})
as_words(groupWords ${group})

file(WRITE "${OUTPUT}.tmp" "/* Written by make_icon.cmake from its picture; do not edit. */
#include \"${IDS_HEADER}\"

LANGUAGE 0x11, 0x01  /* Japanese */

${imageId} 3  /* RT_ICON: 32 x 32, 16 colours */
BEGIN
${imageWords}
END

KALVORIN_ICON_ID 14  /* RT_GROUP_ICON */
BEGIN
${groupWords}
END
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
