# tovra_add_plugin(edition "Output Name")
# One VST 2.4 effect library per edition, built from the shared libraries and
# the edition's own effect and editor libraries. Links whichever exist, so the
# plug-in grows as the subsystems land.
#
#   Windows (32- and 64-bit): "<Output Name>.dll" with the editor, exporting
#     VSTPluginMain and main through host/exports.def.
#   Linux: "<Output Name>.so" without an editor (there is no Linux window
#     layer yet), so the record's has-editor flag stays clear and the editor
#     opcodes answer 0. It exports VSTPluginMain and main and nothing else,
#     and carries its own copy of the C++ library, so a host's libstdc++ can
#     neither clash with it nor be missing.
# Both go to <build>/plugins/.
function(tovra_add_plugin edition output_name)
  if(TOVRA_WINDOWS)
    tovra_add_windows_plugin(${edition} "${output_name}")
  else()
    tovra_add_linux_plugin(${edition} "${output_name}")
  endif()
  set_target_properties(tovra_plugin_${edition} PROPERTIES
    OUTPUT_NAME "${output_name}"
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/plugins"
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/plugins")
  # Release libraries carry no symbol table: the tested file is the shipped
  # file, at less than half the size.
  target_link_options(tovra_plugin_${edition} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
endfunction()

function(tovra_add_windows_plugin edition output_name)
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
  target_link_libraries(${target} PRIVATE gdiplus ole32 uuid shell32 user32 gdi32 kernel32)
endfunction()

function(tovra_add_linux_plugin edition output_name)
  set(target tovra_plugin_${edition})
  # The effect without its editor: the edition's editor-free effect library
  # and the factory compiled for it here.
  add_library(${target} SHARED
    "${PROJECT_SOURCE_DIR}/host/PluginMain.cpp"
    "${PROJECT_SOURCE_DIR}/effect/CreateEffect.cpp")
  string(TOUPPER ${edition} upper)
  target_compile_definitions(${target} PRIVATE TOVRA_EDITION_${upper}=1)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  set(libs)
  # The entry point hands the module handle to the toolkit when there is
  # one; only that small part of the platform library is linked in.
  foreach(lib tovra_effect_${edition}_headless tovra_toolkit_platform tovra_toolkit
              tovra_dsp tovra_host)
    if(TARGET ${lib})
      list(APPEND libs ${lib})
    endif()
  endforeach()
  target_link_libraries(${target} PRIVATE -Wl,--start-group ${libs} -Wl,--end-group)

  # Everything but the two entry names is local to the library. `main` is
  # the same function as VSTPluginMain under a second name (C++ cannot
  # define a function called main), like the alias in host/exports.def.
  set(exports "${CMAKE_BINARY_DIR}/plugin-exports.map")
  file(CONFIGURE OUTPUT "${exports}" CONTENT "{\n  global: VSTPluginMain; main;\n  local: *;\n};\n")
  target_link_options(${target} PRIVATE
    "-Wl,--version-script=${exports}"
    "-Wl,--defsym=main=VSTPluginMain"
    -Wl,-z,noexecstack
    -Wl,--as-needed)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${exports}")
  if(NOT TOVRA_SANITIZE)
    # Every symbol resolved at link time, the C++ library linked in. The
    # unwinder stays the system's libgcc_s: a static copy would tie the
    # library to the build machine's glibc (2.35 and later), while this way
    # it asks for nothing newer than glibc 2.14. (The sanitizer build's
    # library takes its runtime from the host program.)
    target_link_options(${target} PRIVATE -Wl,--no-undefined -static-libstdc++)
  endif()
endfunction()
