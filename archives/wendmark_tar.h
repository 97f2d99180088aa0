// libspoolet.so: tar extraction, loaded by the unpack routine when an archive comes.
#pragma once

// Extracts a tar archive (optionally compressed) as the argument line says:
//   "-xvf ARCHIVE [-C DIRECTORY] "   ('v' lists the members; without -C the members go
//                                     into the current directory)
// Arguments are separated by blanks; one containing blanks is written in double quotes.
// `output` receives a zero-terminated text of at most outputSize bytes: the members
// extracted (with 'v') and, on failure, the reason as its last line (listing lines are
// dropped to make room for it). Members with absolute paths or ".." components, symbolic
// links (transfers hold none, and a chain of them can lead anywhere), hard links leading
// out of the directory, device or fifo entries, or a total size beyond the unpack limit
// are refused and stop the extraction.
// Returns 0 when every member was extracted, non-zero otherwise.
extern "C" __attribute__((visibility("default"))) int Wendmark_Tar(const char* arguments,
                                                                   char* output, int outputSize);
