# Copies data/solutions/*.sox into the program folder.
file(GLOB sox "${SRC}/*.sox")
foreach(f IN LISTS sox)
  file(COPY "${f}" DESTINATION "${DST}")
endforeach()
