# Prints the size of a built file against its goal: cmake -DFILE=... -DLIMIT=... -P
file(SIZE "${FILE}" size)
get_filename_component(name "${FILE}" NAME)
if(size LESS LIMIT)
  message(STATUS "size: ${name} is ${size} bytes (goal: under ${LIMIT})")
else()
  message(WARNING "size: ${name} is ${size} bytes, over its goal of ${LIMIT}")
endif()
