# tovra_add_plugin(edition "Output Name")
# One VST 2.4 effect DLL per edition, built from the shared libraries and the
# edition's own effect and editor libraries. Links whichever exist, so the
# plug-in grows as the subsystems land.
function(tovra_add_plugin edition output_name)
  set(target tovra_plugin_${edition})
  set(def "${PROJECT_SOURCE_DIR}/host/exports.def")
  set(sources "${PROJECT_SOURCE_DIR}/host/PluginMain.cpp")
  if(EXISTS "${PROJECT_SOURCE_DIR}/resources/${edition}.rc")
    list(APPEND sources "${PROJECT_SOURCE_DIR}/resources/${edition}.rc")
  endif()
  add_library(${target} SHARED ${sources} ${def})
  string(TOUPPER ${edition} upper)
  target_compile_definitions(${target} PRIVATE TOVRA_EDITION_${upper}=1)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  set(libs)
  foreach(lib tovra_editor_${edition} tovra_effect_${edition} tovra_toolkit_platform
              tovra_toolkit tovra_dsp tovra_host)
    if(TARGET ${lib})
      list(APPEND libs ${lib})
    endif()
  endforeach()
  # The effect, editor and toolkit refer to each other; let the linker rescan.
  target_link_libraries(${target} PRIVATE -Wl,--start-group ${libs} -Wl,--end-group)
  if(TOVRA_WINDOWS)
    target_link_libraries(${target} PRIVATE gdiplus ole32 uuid shell32 user32 gdi32 kernel32)
  endif()
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "${output_name}"
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/plugins"
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/plugins")
endfunction()
