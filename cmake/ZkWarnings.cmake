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

# Qt's discipline for the programs' own code (the tests keep the shorthands):
# no implicit conversion between char* and QString, string concatenation
# through QStringBuilder, no connection without a context object, nothing
# that Qt 6.4 deprecates. Qt 6.4 does not know QT_NO_CONTEXTLESS_CONNECT
# yet; the code keeps to it all the same.
set(ZK_QT_DISCIPLINE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_USE_QSTRINGBUILDER
    QT_NO_CONTEXTLESS_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

# A target of the product: strict warnings and Qt's discipline.
function(zk_product target)
  zk_strict(${target})
  target_compile_definitions(${target} PRIVATE ${ZK_QT_DISCIPLINE})
endfunction()
