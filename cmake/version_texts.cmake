# The two version texts of the string table, made from the project's version
# MAJOR.MINOR.PATCH (release MAJOR.MINOR, revision PATCH):
#
#   shown   "2.21c"  the release, then the revision as a letter (1 is "a");
#   number  "2.213"  the release and the revision run together. The update
#                    check reads it as a decimal number and compares it with
#                    the published one in whole ten-thousandths, truncated.
#
# A version the texts cannot carry stops the configure step:
#   - three parts, each a plain number;
#   - the revision is 1 to 9: 0 has no letter, and 10 would give the number
#     2.2110, which reads as older than 2.219;
#   - the minor part has exactly two digits (00 to 99): with one, 2.5 revision
#     3 would give 2.53, newer than 2.213; with three, 2.210 revision 3 would
#     give 2.2103, older than 2.219;
#   - the major part has no leading zero and is at most 837, so that the
#     number times 10000 stays below 2^23, where single precision still holds
#     half a ten-thousandth (the reading below relies on it);
#   - the update check does not read the number as newer than itself (see
#     _tolvemar_number_reads_newer below): about one version in sixteen fails
#     this, 2.13.1 for one, and its users would be offered the version they
#     have at every start.

# Whether the update check reads the number x / 1000 (x: the number's digits,
# 2213 for "2.213") as newer than the same number. The published number is
# read in single precision and the program's own in double; each is
# multiplied by 10000 in its precision and truncated. The product lands on 10x
# or, when the number was rounded down far enough, just below it (10x - 1 once
# truncated). The number reads newer than itself when the double lands below
# and the single does not.
#
# With 2^e <= x / 1000 < 2^(e+1) and a p-bit significand, x / 1000 is rounded
# at the 2^(e-p+1) place; the part cut off is r / 1000 of that place, where
# r = x * 2^(p-1-e) mod 1000 (never exactly 500 here, so no ties). It is cut
# off (rounded down) when r < 500, and the product stays below 10x after its
# own rounding when r is 410 or more and the leading binary digit of 10x
# stands 13 places above that of x / 1000; at 14 places the product's
# rounding step is twice as coarse and takes the error away. This agrees with
# the check's own code (src/shell/update_reply.cpp) for every version up to
# major 837.
function(_tolvemar_number_reads_newer x out_var)
  set(e 0)
  if(x GREATER_EQUAL 1000)
    set(limit 2000)
    while(x GREATER_EQUAL limit)
      math(EXPR e "${e} + 1")
      math(EXPR limit "${limit} * 2")
    endwhile()
  else()
    set(scaled ${x})
    while(scaled LESS 1000)
      math(EXPR e "${e} - 1")
      math(EXPR scaled "${scaled} * 2")
    endwhile()
  endif()
  set(big 0)
  set(limit 2)
  math(EXPR ten_x "${x} * 10")
  while(ten_x GREATER_EQUAL limit)
    math(EXPR big "${big} + 1")
    math(EXPR limit "${limit} * 2")
  endwhile()
  math(EXPR places "${big} - ${e}")
  # Whether the double (53 bits) and the single (24 bits) reading land below.
  foreach(bits IN ITEMS 53 24)
    math(EXPR shifts "${bits} - 1 - ${e}")
    math(EXPR r "${x} % 1000")
    foreach(i RANGE 1 ${shifts})
      math(EXPR r "${r} * 2 % 1000")
    endforeach()
    if(places EQUAL 13 AND r GREATER_EQUAL 410 AND r LESS 500)
      set(below_${bits} TRUE)
    else()
      set(below_${bits} FALSE)
    endif()
  endforeach()
  if(below_53 AND NOT below_24)
    set(${out_var} TRUE PARENT_SCOPE)
  else()
    set(${out_var} FALSE PARENT_SCOPE)
  endif()
endfunction()

# Sets shown_var and number_var to the texts of `version`, or stops with the
# reason the version cannot be used.
function(tolvemar_version_texts version shown_var number_var)
  set(why "")
  if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    set(why "it needs three numbers, MAJOR.MINOR.PATCH (the release and its revision)")
  else()
    set(major "${CMAKE_MATCH_1}")
    set(minor "${CMAKE_MATCH_2}")
    set(revision "${CMAKE_MATCH_3}")
    if(NOT revision MATCHES "^[1-9]$")
      string(CONCAT why "the revision (the third number) must be 1 to 9: it is shown as a letter "
                        "a to i and is the last digit of the number the update check compares")
    elseif(NOT minor MATCHES "^[0-9][0-9]$")
      string(CONCAT why "the minor part must have exactly two digits (00 to 99), so that the "
                        "numbers of all releases compare in the order of their versions")
    elseif(NOT major MATCHES "^(0|[1-9][0-9]?[0-9]?)$" OR major GREATER 837)
      string(CONCAT why "the major part must be 0 to 837, written without a leading zero: "
                        "beyond that the update check reads the published number too coarsely")
    else()
      math(EXPR digits "${major} * 1000 + ${minor} * 10 + ${revision}")
      _tolvemar_number_reads_newer(${digits} reads_newer)
      if(reads_newer)
        string(CONCAT why "the update check would read its number ${major}.${minor}${revision} "
                          "as newer than itself (the published number is read in single "
                          "precision, the program's own in double, both truncated to "
                          "ten-thousandths) and offer it to everyone who has it. Choose "
                          "another revision or release")
      endif()
    endif()
  endif()
  if(why)
    message(FATAL_ERROR "Version ${version} cannot be used: ${why}. "
                        "See \"Changing the version\" in CONTRIBUTING.md.")
  endif()
  math(EXPR index "${revision} - 1")
  string(SUBSTRING "abcdefghi" ${index} 1 letter)
  set(${shown_var} "${major}.${minor}${letter}" PARENT_SCOPE)
  set(${number_var} "${major}.${minor}${revision}" PARENT_SCOPE)
endfunction()
