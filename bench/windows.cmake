# Windows build: the yardstick program, and probe builds (window_probe.cpp linked in) of it
# and of karvold.exe from the program's own WinMain, for start-up time, memory and repaints.
enable_language(RC)
if(NOT TARGET karvold_shell)
    foreach(dir resources shell)
        add_subdirectory(${karvold_root}/${dir} ${CMAKE_CURRENT_BINARY_DIR}/karvold/${dir}
                         EXCLUDE_FROM_ALL)
    endforeach()
endif()

add_executable(minimal_window WIN32 minimal_window.cpp)
target_link_libraries(minimal_window PRIVATE htmlhelp)
karvold_warnings(minimal_window)

add_executable(minimal_window_probe WIN32 minimal_window.cpp probe/window_probe.cpp)
target_compile_definitions(minimal_window_probe PRIVATE PROBE_WINDOW_CLASS="MinimalWindow")
target_link_libraries(minimal_window_probe PRIVATE htmlhelp psapi)
karvold_warnings(minimal_window_probe)

add_executable(karvold_probe WIN32 ${karvold_root}/shell/win_main.cpp probe/window_probe.cpp
               $<TARGET_OBJECTS:karvold_resources>)
target_compile_definitions(karvold_probe PRIVATE PROBE_WINDOW_CLASS="KARVOLD")
target_link_libraries(karvold_probe PRIVATE karvold_shell karvold_win32_platform psapi)
karvold_warnings(karvold_probe)

add_executable(probe_launcher probe/probe_launcher.cpp)
karvold_warnings(probe_launcher)

foreach(target minimal_window minimal_window_probe karvold_probe probe_launcher)
    target_link_options(${target} PRIVATE -static)
endforeach()
