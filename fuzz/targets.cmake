# SPDX-License-Identifier: MIT
# The fuzz targets, one per reader of outside bytes: fuzz_NAME.cpp, linked with the library
# that reads, its saved inputs in corpus/NAME/. Each is also replayed over its saved inputs
# as a plain test in every build (tests/CMakeLists.txt).
set(SUITE_FUZZ_TARGETS course_file wave iso_time replay_log course_source)
set(SUITE_FUZZ_LIBRARY_course_file course_data)
set(SUITE_FUZZ_LIBRARY_wave suite_files)
set(SUITE_FUZZ_LIBRARY_iso_time study_core)
set(SUITE_FUZZ_LIBRARY_replay_log studytool_commands)
set(SUITE_FUZZ_LIBRARY_course_source coursetool_commands)
list(APPEND SUITE_FUZZ_TARGETS phonetics_table)
set(SUITE_FUZZ_LIBRARY_phonetics_table course_data)
# What can be read of a damaged progress store.
list(APPEND SUITE_FUZZ_TARGETS store_pages)
set(SUITE_FUZZ_LIBRARY_store_pages study_core)
# The course editor's import formats.
list(APPEND SUITE_FUZZ_TARGETS import_delimited import_anki import_paste import_workbook)
foreach(format delimited anki paste workbook)
  set(SUITE_FUZZ_LIBRARY_import_${format} editor_core)
endforeach()
# What the class server reads from a device.
list(APPEND SUITE_FUZZ_TARGETS sync_request join_request)
set(SUITE_FUZZ_LIBRARY_sync_request hub_core)
set(SUITE_FUZZ_LIBRARY_join_request hub_core)
# What a device reads from the class server.
list(APPEND SUITE_FUZZ_TARGETS sync_reply join_reply)
set(SUITE_FUZZ_LIBRARY_sync_reply sync_core)
set(SUITE_FUZZ_LIBRARY_join_reply sync_core)
# What a browser sends the teachers' class page.
list(APPEND SUITE_FUZZ_TARGETS page_request)
set(SUITE_FUZZ_LIBRARY_page_request hub_page_core)
# The books a class is handed out: the request for one, and the check of its bytes.
list(APPEND SUITE_FUZZ_TARGETS book_request handed_out_book publish_request)
set(SUITE_FUZZ_LIBRARY_book_request sync_core)
set(SUITE_FUZZ_LIBRARY_handed_out_book sync_books)
set(SUITE_FUZZ_LIBRARY_publish_request sync_core sync_books)
