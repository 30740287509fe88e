# Strict warnings for the project's own code only (Qt's headers are system
# headers and stay quiet).
function(zk_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough
    -Wnull-dereference -Wmisleading-indentation -Wduplicated-cond
    -Wlogical-op -Werror=return-type)
  if(ZK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The C++ sources of one folder (every .cpp in it, except those named).
function(zk_folder_sources out dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(skip ${ARGN})
    list(REMOVE_ITEM srcs ${dir}/${skip})
  endforeach()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()
