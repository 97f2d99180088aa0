# Fails when a program or converter library pulls PROJ, libarchive or zlib in at load time:
# those are loaded on first need only, so that a run that needs none of them starts fast.
# Usage: cmake -DFILES="a;b;..." -DPLUGIN=<libcorvane_proj.so> -P no_heavy_libraries.cmake
set(heavy "(libproj|libarchive|libz)\\.so[.0-9]*")
foreach(file IN LISTS FILES)
  execute_process(COMMAND ldd ${file} OUTPUT_VARIABLE needed RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd cannot read ${file}")
  endif()
  string(REGEX MATCHALL "${heavy}" found "${needed}")
  if(found)
    list(REMOVE_DUPLICATES found)
    message(SEND_ERROR "${file} loads ${found} at start-up")
  endif()
endforeach()
# The check itself must see PROJ where it is meant to be.
execute_process(COMMAND ldd ${PLUGIN} OUTPUT_VARIABLE needed)
if(NOT needed MATCHES "libproj\\.")
  message(SEND_ERROR "${PLUGIN} does not load PROJ: the check above proves nothing")
endif()
