# Sums the input sections of a GNU ld map file of the plug-in per origin: our
# code, Hunspell, libcrypto, the embedded dictionary, the C and C++ runtime,
# the import stubs of Windows DLLs. Prints one line per origin, then the
# largest members of libcrypto. Debug information and the symbol table (which
# come with the runtime archives; a stripped DLL has neither) are given by the
# caller from the section headers.
#   awk -f map-sizes.awk -v file_size=BYTES -v debug_size=BYTES -v symbols_size=BYTES qorBrindavel.map
function origin(file) {
  if (file ~ /Dictionary\.rc/) return "en_US dictionary (resource)"
  if (file ~ /libhunspell\.a/) return "Hunspell"
  if (file ~ /libcrypto\.a/) return "libcrypto"
  if (file ~ /libqor_pure\.a|qorBrindavel\.dir/) return "our code and resources"
  if (file ~ /libstdc\+\+|libsupc\+\+|libgcc|libmingw|libmsvcrt|libwinpthread|libpthread|crt[^\/]*\.o|libucrt/) return "C and C++ runtime"
  if (file ~ /\.a\(/) return "Windows import stubs"
  return "other"
}
function add(section, size, file,   o) {
  # Not in the file's loaded image: debug sections, zero-filled data.
  if (section ~ /^\.debug|^\.stab|^\.bss|^COMMON/) return
  o = origin(file)
  total[o] += size
  sum += size
  if (o == "libcrypto" && match(file, /\([^)]*\)/)) member[substr(file, RSTART + 1, RLENGTH - 2)] += size
}
/^Linker script and memory map/ { inmap = 1; next }
!inmap { next }
# " .text  0x10001000  0x40 file" on one line, or the section name alone with
# the address, size and file on the next line.
/^ [^ *][^ ]* +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ { add($1, strtonum_hex($3), $4); pending = ""; next }
/^ [^ *][^ ]*$/ { pending = $1; next }
pending != "" && /^ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ { add(pending, strtonum_hex($2), $3); pending = ""; next }
{ pending = "" }
function strtonum_hex(text,   i, c, n) {
  n = 0
  text = tolower(substr(text, 3))
  for (i = 1; i <= length(text); ++i) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
  return n
}
END {
  for (o in total) printf "  %9d bytes %5.1f%%  %s\n", total[o], 100 * total[o] / file_size, o | "sort -rn"
  close("sort -rn")
  printf "  %9d bytes %5.1f%%  %s\n", debug_size, 100 * debug_size / file_size, "debug information (removed by stripping)"
  printf "  %9d bytes %5.1f%%  %s\n", symbols_size, 100 * symbols_size / file_size, "symbol table (removed by stripping)"
  rest = file_size - sum - debug_size - symbols_size
  printf "  %9d bytes %5.1f%%  %s\n", rest, 100 * rest / file_size, "headers, alignment, relocations"
  printf "  largest libcrypto members:\n"
  for (m in member) printf "    %9d  %s\n", member[m], m | "sort -rn | head -n 8"
  close("sort -rn | head -n 8")
}
