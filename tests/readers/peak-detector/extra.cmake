target_link_libraries(${target} PRIVATE corvelin_peak_detector)
