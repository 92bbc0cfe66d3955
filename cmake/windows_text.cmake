# Writes a text file as Windows programs such as Notepad read it best: the
# UTF-8 byte-order mark and "\r\n" line ends, from a source kept as plain
# UTF-8 with "\n". @PROJECT_VERSION@ in it becomes VERSION.
#   cmake -DIN=<source> -DOUT=<file> -DPROJECT_VERSION=<version> -P windows_text.cmake
file(READ "${IN}" text)
string(CONFIGURE "${text}" text @ONLY)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE "${OUT}" "${byte_order_mark}${text}")
