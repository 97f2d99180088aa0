// libthawmill.so: gzip decompression, loaded by the unpack routine when an archive comes.
#pragma once

// Results of Wendmark_GZip.
enum WendmarkGZipResult {
  kGZipOk = 0,
  kGZipBadArguments = 1,  // not "gzip -d <archive>"
  kGZipCannotRead = 2,    // the archive cannot be opened
  kGZipDamaged = 3,       // the compressed data is not valid gzip
  kGZipCannotWrite = 4,   // the output cannot be created (or exists already) or written
  kGZipTooLarge = 5,      // the output would exceed the unpack size limit
};

// Decompresses argv[argc-1] (argv: "gzip", "-d", archive path) into `directory`, named as
// the archive without its ".gz" ending, with ".tgz" made ".tar" (any letter case), or as the
// archive itself when its name has neither (gzip data is recognised by content, whatever
// the name). The output is a new file: an existing one, the archive itself included, is
// never replaced. It is written in full or not at all: a partial file is removed.
// Returns a WendmarkGZipResult.
extern "C" __attribute__((visibility("default"))) int Wendmark_GZip(int argc, char** argv,
                                                                    const char* directory);
