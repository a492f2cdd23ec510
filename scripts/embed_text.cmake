# Turns a text file into a C++ raw string literal that can be #included.
file(READ ${IN} content)
file(WRITE ${OUT} "R\"__tsv__(${content})__tsv__\"\n")
