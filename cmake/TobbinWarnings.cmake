# Warning flags shared by every target of the project.
function(tobbin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Woverloaded-virtual)
  if(TOBBIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A static library of the core: includes resolve from the repository root
# ("engine/tb_map.h"), and the library never links Qt.
function(tobbin_library target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  tobbin_warnings(${target})
endfunction()
