# Checks that a Windows program carries both run-from-swap bits in its PE
# header: Windows then copies it whole from a CD or a network share before
# running it, in one pass, and the program goes on when the disc is taken out.
#   cmake -DPROGRAM=Vidorun.exe -P pe_flags.cmake

# A little-endian number of `size` bytes at `offset` of the file.
function(read_le out offset size)
  file(READ "${PROGRAM}" hex OFFSET ${offset} LIMIT ${size} HEX)
  string(LENGTH "${hex}" length)
  math(EXPR wanted "${size} * 2")
  if(NOT length EQUAL wanted)
    message(FATAL_ERROR "${PROGRAM} ends before byte ${offset} + ${size}: no Windows program")
  endif()
  set(value "")
  math(EXPR last "${size} - 1")
  foreach(i RANGE ${last})
    math(EXPR at "${i} * 2")
    string(SUBSTRING "${hex}" ${at} 2 byte)
    set(value "${byte}${value}")
  endforeach()
  math(EXPR value "0x${value}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

read_le(mz 0 2)
if(NOT mz EQUAL 0x5A4D)
  message(FATAL_ERROR "${PROGRAM} has no MZ header")
endif()
read_le(pe 60 4)
read_le(signature ${pe} 4)
if(NOT signature EQUAL 0x4550)
  message(FATAL_ERROR "${PROGRAM} has no PE header")
endif()
# The file header's Characteristics follow the machine, the section count,
# the time stamp, the symbol table's place and size and the optional
# header's size: 18 bytes after the signature's 4.
math(EXPR at "${pe} + 22")
read_le(characteristics ${at} 2)
math(EXPR removable "${characteristics} & 0x0400")
math(EXPR network "${characteristics} & 0x0800")
math(EXPR shown "${characteristics}" OUTPUT_FORMAT HEXADECIMAL)
if(removable EQUAL 0 OR network EQUAL 0)
  message(FATAL_ERROR "${PROGRAM}: Characteristics ${shown} lack IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP (0x400) "
                      "or IMAGE_FILE_NET_RUN_FROM_SWAP (0x800)")
endif()
message(STATUS "${PROGRAM}: Characteristics ${shown}, both run-from-swap bits set")
