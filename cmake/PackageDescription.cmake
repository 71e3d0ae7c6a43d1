# What every package of the program says of itself, on Linux and on Windows.
set(CPACK_PACKAGE_NAME kelvrast)
set(CPACK_PACKAGE_VENDOR "kelvrast developers")
set(CPACK_PACKAGE_CONTACT "kelvrast developers <kelvrast@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "coursework assignment program that records every answer in text files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "kelvrast walks one student through a fixed script of questions and records every answer, at once and for "
    "good, in plain-text answer files that the student submits to the instructor.")
set(CPACK_STRIP_FILES ON)
