// The text of talvo-convert --help.
#pragma once

namespace talvo {

inline constexpr const char* Usage_Text = R"USAGE(Usage: talvo-convert [options] INPUT...

Converts X-ray powder diffraction files, as the Talvo desktop program does.
Each INPUT is read with the input type and written with the output type.

Types:
  --from TYPE          input type: a display name or a key (default "Diffrac-Plus RAW")
  --to TYPE            output type: a display name or a key (default "Formatted text (RAW)")
  --list-types         list the input and output types with their keys and patterns
                       The outputs for today's analysis programs, xye, xy, csv, fxye
                       and cif, take scans of any length and write the file's own
                       angles and uncertainties where it lists them.

Output:
  -o, --output OUT     a path, a folder (ending in "/" or existing), or a name such as
                       "*.raw"; a relative OUT is taken from the current folder.
                       With one INPUT, OUT names the output file; an empty base or "*"
                       takes the input's base name. With several INPUTs, each output
                       takes its input's base name, and OUT gives folder and extension.
                       A folder gives the input's base name and the output type's
                       extension. Default: beside the input, with the input's base
                       name and the output type's extension (a.raw gives a.txt).
                       An output that is the input file itself is refused.
                       (Versions up to 3.1.1 took a relative OUT from the input's
                       folder, and gave no extension by default.)

Ranges, for files that hold several (Bruker RAW 3 and 4, XRDML, RAS, BRML):
  --range N            convert range N (1, 2, ...) of each file; without it, the first,
                       with a warning that names how many the file holds
  --range all          convert every range, each to its own output, the range number
                       after the base name (sample-1.txt, sample-2.txt, ...)

Parameters, used as if typed into the dialog that asks for them. A number is
written whole, with "." or "," as its decimal separator (0,02 is 0.02):
  --start ANGLE        start angle (degrees 2-theta)
  --end ANGLE          end angle (degrees 2-theta)
  --step WIDTH         step size (degrees 2-theta)
  --time SECONDS       counting time per step
  --lambda ANGSTROM    wavelength
  --anode CODE         anode element (Ag Mo Zn Cu Ni Co Fe Mn Cr): sets the wavelength
  --profile NAME       gauss, lorentz or pearson7 (synthesis)
  --fwhm WIDTH         full width at half maximum of synthesised peaks
  --background COUNTS  background level of synthesised scans
  --noise COUNTS       noise height of synthesised scans
  --preserve-range     tick "Preserve range limits"
  --sample NAME        sample name asked for by the Oxford import

  -j, --jobs N         convert up to N files at once (default: one per core). Files
                       whose conversion could take something from the file before
                       (a peak list synthesised into a scan, UXD files) are always
                       converted one after another. Outputs, messages (in the order
                       of the INPUTs) and exit status are those of -j 1.
  --help               show this text
  --version            show the version

Every message goes to standard error as one line, "INPUT: text"; warnings are
marked "warning:" and failures "error:". Exit status: 0 when every input was
converted, 1 when any input was refused or failed, 2 for a usage error.
)USAGE";

}  // namespace talvo
