// Standard output as a byte stream, for job files and pictures written with `--output -`.
#pragma once

// Puts standard output into binary mode before anything is written to it: on Windows the
// C library would otherwise turn every LF into CR LF, which a cutter or an SVG reader would
// receive. Elsewhere standard output is binary already.
void SetStdoutBinary();
