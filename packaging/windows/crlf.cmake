# Copies a text file with every line ending in CR LF, as Windows' Notepad of old shows it.
# Usage: cmake -DFROM=file -DTO=file -P crlf.cmake
file(READ ${FROM} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TO} "${text}")
