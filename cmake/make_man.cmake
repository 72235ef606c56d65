# Writes the man page of talvo-convert from its --help text and the examples.
# Called with -DCONVERT=<talvo-convert> -DEXAMPLES=<file> -DVERSION=<v> -DOUT=<file>.
execute_process(COMMAND ${CONVERT} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "talvo-convert --help failed")
endif()
file(READ ${EXAMPLES} examples)
foreach(var help examples)
  string(REPLACE "\\" "\\e" ${var} "${${var}}")
  string(REPLACE "-" "\\-" ${var} "${${var}}")
  string(REGEX REPLACE "(^|\n)'" "\\1\\\\&'" ${var} "${${var}}")
  string(REGEX REPLACE "(^|\n)\\." "\\1\\\\&." ${var} "${${var}}")
endforeach()
file(WRITE ${OUT} ".TH TALVO\\-CONVERT 1 \"\" \"Talvo ${VERSION}\" \"User Commands\"
.SH NAME
talvo\\-convert \\- convert X\\-ray powder diffraction files
.SH SYNOPSIS
.B talvo\\-convert
[\\fIoptions\\fR] \\fIINPUT\\fR...
.SH DESCRIPTION
.nf
${help}.fi
.SH EXAMPLES
.nf
${examples}.fi
.SH SEE ALSO
.BR talvo (1)
")
