#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliRun.h"
#include "TempDir.h"
#include "cli/CliCommon.h"
#include "cli/PreviewSvg.h"
#include "cutter/ModelTable.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/SwappedRoutines.h"

namespace {

const char* JOB = "IN;SP1;PU-100,300;PD3903,300;PD3903,1300;BZ3000,1400,1000,1400,-100,300;SP0;";

TEST(CliInfo, PrintsTheSizeFieldsWidthFirst) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD4003,0;PD4003,1000;");
  CliRun plain({"info", input});
  EXPECT_EQ(plain.code, 0);
  // Each side is named by how it lies on the cutter: the width across the roll, the height
  // along the feed (the job file swaps the pair). Fault caught: a size the user cannot lay out.
  EXPECT_EQ(plain.out, "100.07 x 25.00 mm (across the roll x along the feed)\n");
  // Clockwise by 90 degrees: the 4003-unit side lands one unit short; mirrored first, the
  // 1000-unit side does too.
  EXPECT_EQ(CliRun({"info", input, "--rotate", "90"}).out, "25.00 x 100.05 mm (across the roll x along the feed)\n");
  EXPECT_EQ(CliRun({"info", input, "--rotate", "90", "--mirror"}).out,
            "24.98 x 100.05 mm (across the roll x along the feed)\n");
  EXPECT_EQ(CliRun({"info", input, "--mirror"}).out, "100.07 x 25.00 mm (across the roll x along the feed)\n");
}

// Two paths: PU0,0 PD400,0 PD400,300, then PU800,300 PD800,0; the job is 800 x 300 units.
// Written with the pair swapped as (y, 800 - x), after the header (HPGL "IN;SP1;" and
// fifteen "PU0,0;", 97 bytes; DM/PL ";:H A L0 ECN U " and fifteen "U0,0 ", 90 bytes):
//   PU0,800; PD0,400; PD300,400; PU300,0; PD0,0; PU300,0; SP0;@    53 bytes, 150 in all
//   U0,800 D0,400 D300,400 U300,0 D0,0 U300,0 @                    44 bytes, 134 in all
// From the origin the pen travels up 800 + 400 + 300 = 1500 units (37.5 mm) and cuts
// 400 + 300 + 300 = 1000 (25.0 mm). At 10 bits a byte either file takes well under a
// second, which the estimate rounds up to one.
TEST(CliInfo, DetailCountsPathsLengthsAndTheJobFileOfTheModel) {
  TempDir dir;
  const std::string input = dir.Write("two.plt", "IN;SP1;PU0,0;PD400,0;PD400,300;PU800,300;PD800,0;SP0;");
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  const std::string lengths =
      "20.00 x 7.50 mm (across the roll x along the feed)\npaths: 2\ncut length: 25.0 mm\npen-up travel: 37.5 mm\n";
  const struct {
    std::vector<std::string> model;
    const char* file;
  } cases[] = {
      {{"--model", "Robin-Series"}, "job file: 150 bytes for Robin-Series\nline time: about 1 second at 38400 baud\n"},
      {{"--model", "2"}, "job file: 134 bytes for Heron(V8.8 or before)\nline time: about 1 second at 9600 baud\n"},
      // No model given and no settings file: the dialog's first model, and no file made. It
      // is marked as only the default, as no send would take it.
      {{},
       "job file: 150 bytes for Lark-Series (the default: no model chosen yet)\nline time: about 1 second at "
       "38400 baud\n"},
      {{"--model", "robin"}, "job file: 150 bytes for Robin-Series\nline time: about 1 second at 38400 baud\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"info", input, "--detail", "--ini", ini};
    args.insert(args.end(), c.model.begin(), c.model.end());
    CliRun run(args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, lengths + c.file);
  }
  EXPECT_FALSE(std::filesystem::exists(ini));
  // The model a send saved is the one taken.
  dir.Write("Plotgate.ini", "[Device]\r\nType=4\r\n");
  EXPECT_EQ(CliRun({"info", input, "--detail", "--ini", ini}).out,
            lengths + "job file: 134 bytes for Finch-Series\nline time: about 1 second at 38400 baud\n");
  // The cutter options belong to --detail.
  EXPECT_EQ(CliRun({"info", input, "--model", "Robin-Series"}).code, 2);
  // A letter and its counter, from the job file's origin at the corner (400, 0) to the
  // final pen-up at (400, 400): outline first 400 + 141.4 + 424.3 = 965.7 units; counter
  // first 316.2 + 141.4 + 565.7 = 1023.3. The remembered inner-first order is taken.
  const std::string letter =
      dir.Write("o.plt", "PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;PU100,100;PD300,100;PD300,300;PD100,300;PD100,100;");
  dir.Write("Plotgate.ini", "[CutOrder]\r\nInsideFirst=1\r\n");
  const CliRun ordered({"info", letter, "--detail", "--ini", ini});
  EXPECT_NE(ordered.out.find("\npen-up travel: 25.6 mm (24.1 mm in the drawing's order)\n"), std::string::npos)
      << ordered.out;
  const CliRun unticked({"info", letter, "--detail", "--ini", ini, "--no-inside-first"});
  EXPECT_NE(unticked.out.find("\npen-up travel: 24.1 mm\n"), std::string::npos) << unticked.out;
}

TEST(CliInfo, UsageErrorsAndUnreadableInput) {
  TempDir dir;
  EXPECT_EQ(CliRun({}).code, 2);
  EXPECT_EQ(CliRun({"info"}).code, 2);
  EXPECT_EQ(CliRun({"info", dir.Write("a.plt", ""), "--rotate", "45"}).code, 2);
  CliRun missing({"info", (dir.Path() / "missing.plt").string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

TEST(CliInfo, FolderTooLargeJobAndMissingFileSayWhy) {
  TempDir dir;
  // A folder once made the reader wait for an end of file that never came.
  CliRun folder({"info", dir.Path().string()});
  EXPECT_EQ(folder.code, 1);
  EXPECT_NE(folder.err.find("cannot read"), std::string::npos) << folder.err;
  CliRun encodeFolder({"encode", dir.Path().string(), "--model", "1", "--output", (dir.Path() / "x.hb").string()});
  EXPECT_EQ(encodeFolder.code, 1);

  std::string corners = "PU-2147483648,-2147483648;";
  for (int i = 0; i < 150; ++i) corners += "BZ0,0,0,0,2147483647,2147483647;BZ0,0,0,0,-2147483648,-2147483648;";
  CliRun large(
      {"preview", dir.Write("large.plt", corners), "--size", "40x30", "--output", (dir.Path() / "p.svg").string()});
  EXPECT_EQ(large.code, 1);
  EXPECT_NE(large.err.find("too large"), std::string::npos) << large.err;
}

TEST(CliInfo, ExhaustedMemoryIsSaid) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", JOB);
  SwappedRoutines swap;
  AllocationCounter::Start(3);  // the reader's second command
  CliRun info({"info", input});
  EXPECT_EQ(info.code, 1);
  EXPECT_NE(info.err.find("not enough memory for this job"), std::string::npos) << info.err;
  EXPECT_EQ(AllocationCounter::live, 0);
}

TEST(CliEncode, EveryModelGetsItsProtocolsDialect) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", JOB);
  for (int model = 0; model < MODEL_COUNT; ++model) {
    const std::string output = (dir.Path() / ("m" + std::to_string(model) + ".hb")).string();
    CliRun run({"encode", input, "--model", ModelTable[model].name, "--blade-offset", "0.38", "--output", output});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string bytes = TempDir::Read(output);
    const bool dmpl = DialectOfProtocol(ModelTable[model].ProtocolNumber) == DialectDmpl;
    EXPECT_EQ(bytes.substr(0, 3), dmpl ? ";:H" : "IN;") << ModelTable[model].name;
    EXPECT_EQ(bytes.substr(bytes.size() - 2), dmpl ? "@ " : ";@") << ModelTable[model].name;

    // The same as the encoder called directly with the dialog's choices.
    CPlotJob job;
    job.LoadJob(input.c_str());
    OffsetOptions options;
    options.bladeOffset = true;
    options.bladeOffsetText = "0.38";
    const std::string direct = (dir.Path() / "direct.hb").string();
    ASSERT_EQ(WriteJobFile(job, direct.c_str(), {dmpl ? DialectDmpl : DialectHpgl, true}, options), 1);
    EXPECT_EQ(bytes, TempDir::Read(direct)) << ModelTable[model].name;
  }
}

TEST(CliEncode, ModelByIndexAndUnknownModel) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", JOB);
  const std::string a = (dir.Path() / "a.hb").string(), b = (dir.Path() / "b.hb").string();
  EXPECT_EQ(CliRun({"encode", input, "--model", "9", "--output", a}).code, 0);
  EXPECT_EQ(CliRun({"encode", input, "--model", "Tern(V8.8 or before)", "--output", b}).code, 0);
  EXPECT_EQ(TempDir::Read(a), TempDir::Read(b));
  // Any case, and a beginning of one name only; a beginning of two names both.
  for (const char* name : {"tern(v8.8 OR BEFORE)", "TERN(V8.8"}) {
    EXPECT_EQ(CliRun({"encode", input, "--model", name, "--output", b}).code, 0) << name;
    EXPECT_EQ(TempDir::Read(a), TempDir::Read(b)) << name;
  }
  const CliRun tern({"encode", input, "--model", "Tern", "--output", a});
  EXPECT_EQ(tern.code, 2);
  EXPECT_NE(tern.err.find("\"Tern\" could be Tern(V8.8 or before) or Tern(V8.9 or later): give more of the name"),
            std::string::npos)
      << tern.err;
  EXPECT_EQ(CliRun({"encode", input, "--output", a}).code, 2);
  CliRun unwritable({"encode", input, "--model", "1", "--output", (dir.Path() / "no" / "x.hb").string()});
  EXPECT_EQ(unwritable.code, 1);
  // Said before the drawing is read: a large one once took its time first.
  const std::string missing = (dir.Path() / "missing.plt").string();
  const std::string noFolder = (dir.Path() / "no" / "x.hb").string();
  const CliRun first({"encode", missing, "--model", "1", "--output", noFolder});
  EXPECT_EQ(first.code, 1);
  EXPECT_EQ(first.err,
            "plotgate: cannot write " + noFolder + ": there is no folder " + (dir.Path() / "no").string() + "\n");
}

TEST(CliEncode, DistancesMustBeMillimetresACutterCanUse) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", JOB);
  const std::string out = (dir.Path() / "a.hb").string();
  for (const char* bad : {"abc", "0,38", "", "nan", "1e9", "-0.5", "0", "+1", ".", "2.01", "0.38mm", " 0.38"}) {
    const CliRun blade({"encode", input, "--model", "4", "--blade-offset", bad, "--output", out});
    EXPECT_EQ(blade.code, 2) << bad;
    EXPECT_NE(blade.err.find("from 0.01 to 2"), std::string::npos) << blade.err;
  }
  EXPECT_EQ(CliRun({"encode", input, "--model", "4", "--overcut", "5.5", "--output", out}).code, 2);
  // The job file writer reads 9 characters: "000000000" would cut with no offset at all.
  const CliRun longer({"encode", input, "--model", "4", "--blade-offset", "0000000001", "--output", out});
  EXPECT_EQ(longer.code, 2);
  EXPECT_NE(longer.err.find("\"0000000001\" is longer than 9 characters"), std::string::npos) << longer.err;
  EXPECT_FALSE(std::filesystem::exists(out));
  for (const char* good : {"0.38", ".5", "2", "2.", "0.01"})
    EXPECT_EQ(CliRun({"encode", input, "--model", "4", "--blade-offset", good, "--output", out}).code, 0) << good;
  EXPECT_EQ(CliRun({"encode", input, "--model", "4", "--overcut", "5", "--output", out}).code, 0);
}

// The media-width guard and the panels' usage errors, on the 310 x 50 mm frame with a 5 mm
// wall: send and frame refuse a job wider than the media before the port is tried (the port
// named does not exist: a try would fail with 1) and save nothing; encode, info and preview
// warn with the same words and go on. Caught: the guard after the open, the guard on the
// job before its panels or without its weed border, a usage error told as a failure (1),
// --panels without a width cut as one panel.
TEST(CliPanels, GuardAndUsageErrorsComeBeforeThePort) {
  TempDir dir;
  const std::string frame = dir.Write("frame.plt",
                                      "PU0,0;PD12400,0;PD12400,2000;PD0,2000;PD0,0;PU200,200;PD12200,200;PD12200,1800;"
                                      "PD200,1800;PD200,200;");
  const std::string strip = dir.Write("strip.plt", "PU0,0;PD102000,0;PD102000,400;PD0,400;PD0,0;");  // 2550 mm
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  const std::string none = (dir.Path() / "none").string();
  const std::string out = (dir.Path() / "out.hb").string();
  const std::string wider =
      "the job is 310.00 mm across the roll, wider than the media (120 mm): turn it (--rotate 90) or cut it in "
      "panels (--panels)\n";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string err;
  } rows[] = {
      {{"send", frame, "--media-width", "120"}, 2, "plotgate: " + wider},
      {{"frame", frame, "--media-width", "120"}, 2, "plotgate: " + wider},
      // 120 mm less 2 x 5 mm of border: three panels of 110 mm, each 120 across with its
      // border; the port is tried.
      {{"send", frame, "--media-width", "120", "--panels", "--weed-border", "5"}, 1, ""},
      {{"send", frame, "--media-width", "120", "--rotate", "90"}, 1, ""},
      // 50 mm high, 60 with a 5 mm border: wider than 55.
      {{"send", frame, "--media-width", "55", "--rotate", "90", "--weed-border", "5"},
       2,
       "plotgate: the job is 60.00 mm across the roll, wider than the media (55 mm): turn it (--rotate 90) or cut "
       "it in panels (--panels)\n"},
      {{"encode", frame, "--media-width", "120", "--model", "4", "--output", out}, 0, "plotgate: warning: " + wider},
      {{"send", frame, "--panels"}, 2, "plotgate: --panels needs the media width (--media-width MM)\n"},
      {{"frame", frame, "--panels", "--media-width", "60", "--panel-overlap", "50"},
       2,
       "plotgate: the panel overlap (50 mm) must be smaller than the media width less 10 mm\n"},
      {{"send", strip, "--panels", "--media-width", "50", "--panel-overlap", "0"},
       2,
       "plotgate: 51 panels of 50.00 mm: is the media width right?\n"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = row.args;
    if (args[0] != "encode") args.insert(args.end(), {"--model", "Robin-Series", "--port", none, "--ini", ini});
    const CliRun run(args);
    SCOPED_TRACE(args[0] + " " + args[2]);
    EXPECT_EQ(run.code, row.code) << run.err;
    if (!row.err.empty()) {
      EXPECT_EQ(run.err, row.err);
    }
    EXPECT_FALSE(std::filesystem::exists(ini));
  }
  // The panelled job is what info sees.
  const CliRun info({"info", frame, "--media-width", "120", "--panels"});
  EXPECT_EQ(info.out, "110.00 x 190.00 mm (across the roll x along the feed)\n");
  EXPECT_EQ(info.err, "");
  // Turned, the frame fits: the job file is the one without panels, byte for byte.
  const std::string plain = (dir.Path() / "plain.hb").string();
  ASSERT_EQ(CliRun({"encode", frame, "--rotate", "90", "--model", "4", "--output", plain}).code, 0);
  ASSERT_EQ(
      CliRun({"encode", frame, "--rotate", "90", "--model", "4", "--media-width", "120", "--panels", "--output", out})
          .code,
      0);
  EXPECT_EQ(TempDir::Read(out), TempDir::Read(plain));
}

TEST(CliEncode, OutputNamingTheInputIsRefused) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", JOB);
  const std::string sameByAnotherPath = (dir.Path() / "." / "job.plt").string();
  const CliRun encode({"encode", input, "--model", "4", "--output", sameByAnotherPath});
  EXPECT_EQ(encode.code, 1);
  EXPECT_NE(encode.err.find("is the input"), std::string::npos) << encode.err;
  EXPECT_EQ(CliRun({"preview", input, "--size", "40x30", "--output", input}).code, 1);
  EXPECT_EQ(TempDir::Read(input), JOB);
}

TEST(CliInfo, InputWithoutOutlinesFails) {
  TempDir dir;
  // The commands skipped on the way are said first: they are why nothing is cut.
  const struct {
    const char* text;
    const char* skippedAt;
  } inputs[] = {{"PU0,0;PU400,300;", nullptr},
                {"IN;SP1;PU10,10;", nullptr},
                {"pd400,0;", "column 1"},
                {"IN; PD400,0;", "column 4"}};
  for (const auto& in : inputs) {
    const std::string input = dir.Write("moves.plt", in.text);
    const CliRun run({"info", input});
    EXPECT_EQ(run.code, 1) << in.text;
    const std::string warning = in.skippedAt ? "plotgate: warning: " + input +
                                                   ": 1 command was not understood and skipped (at line 1, " +
                                                   in.skippedAt + "); the cut will differ from the drawing\n"
                                             : "";
    EXPECT_EQ(run.err, warning + "plotgate: no outlines in " + input + "\n") << in.text;
  }
}

TEST(CliModels, ListsEveryModelWithWhatASendUses) {
  const CliRun run({"models"});
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("\n2     Heron(V8.8 or before)  2        DM/PL   9600   "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\n5     Robin-Series           4        HPGL    38400  "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\n0     Lark-Series            0        HPGL    38400  the maker's USB link"),
            std::string::npos);
  // The port rule in the words of both systems, not only Windows' device names. Fault
  // caught: a Linux user told of "\\Device\\VCP0*" alone, or of a dialog they do not have.
  EXPECT_NE(run.out.find("38400  a USB serial adapter, else COM1\n6 "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("A USB serial adapter is /dev/ttyUSB0 on Linux (the device \\Device\\VCP0* on\n"),
            std::string::npos)
      << run.out;
  for (const char* command : {"send", "check", "frame"}) {
    const CliRun help({command, "--help"});
    EXPECT_NE(help.out.find("(COM1 is /dev/ttyS0 on Linux)"), std::string::npos) << help.out;
    EXPECT_EQ(help.out.find("the dialog would choose"), std::string::npos) << help.out;
  }
  const CliRun unknown({"encode", "job.plt", "--model", "Albatross", "--output", "x.hb"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.err.find("unknown model \"Albatross\"; the models are:\n  0 Lark-Series\n  1 Wren-Series"),
            std::string::npos)
      << unknown.err;
  EXPECT_NE(unknown.err.find("\n  10 Tern(V8.9 or later)"), std::string::npos);
}

// A misspelt option was only "not expected": the nearest one is named, when one is near.
TEST(Cli, UnknownOptionsGetTheNearestKnownOne) {
  const struct {
    std::vector<std::string> args;
    const char* err;
  } cases[] = {
      {{"send", "job.plt", "--blade-ofset", "0.38"},
       "plotgate: unknown option \"--blade-ofset\" for send; did you mean --blade-offset?\n"},
      {{"send", "job.plt", "--modle=5"}, "plotgate: unknown option \"--modle\" for send; did you mean --model?\n"},
      {{"info", "job.plt", "--detial"}, "plotgate: unknown option \"--detial\" for info; did you mean --detail?\n"},
      {{"check", "--frobnicate"},
       "plotgate: unknown option \"--frobnicate\" for check; plotgate check --help lists them\n"},
  };
  for (const auto& c : cases) {
    const CliRun run(c.args);
    EXPECT_EQ(run.code, 2) << c.args[2];
    EXPECT_EQ(run.err, c.err);
  }
  // After "--" a word is an input, whatever it looks like.
  TempDir dir;
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  dir.Write("--blade-ofset", "PU0,0;PD4000,0;");
  const CliRun input({"info", "--", "--blade-ofset"});
  std::filesystem::current_path(saved);
  EXPECT_EQ(input.code, 0) << input.err;
}

TEST(Cli, VersionAndUnknownCommand) {
  const CliRun version({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, "plotgate 1.0.0.1\n");
  const CliRun unknown({"sned", "job.plt"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_EQ(unknown.err,
            "plotgate: unknown command \"sned\"; the commands are: info encode preview send ports models toolbar check "
            "frame marks presets preset testcut\n");
}

TEST(PreviewSvg, OnePathPerRunStartingAtAMove) {
  const std::vector<PreviewStroke> strokes = {{true, 5, 5},  {false, 1, 2}, {true, 3, 4},  {true, 5, 6},
                                              {false, 7, 8}, {false, 9, 9}, {true, 10, 11}};
  const std::string svg = PreviewSvg(strokes, 40, 30);
  EXPECT_NE(svg.find("width=\"40\" height=\"30\""), std::string::npos);
  EXPECT_NE(svg.find("<rect width=\"40\" height=\"30\" fill=\"white\"/>"), std::string::npos);
  EXPECT_NE(svg.find("d=\"M 0 0 L 5 5\""), std::string::npos);
  EXPECT_NE(svg.find("d=\"M 1 2 L 3 4 L 5 6\""), std::string::npos);
  EXPECT_NE(svg.find("d=\"M 9 9 L 10 11\""), std::string::npos);
  EXPECT_EQ(svg.find("M 7 8"), std::string::npos);  // a lone move draws nothing
}

TEST(CliPreview, WritesTheDialogsPixels) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD2032,0;PD2032,1016;PD0,1016;PD0,0;");
  const std::string output = (dir.Path() / "p.svg").string();
  ASSERT_EQ(CliRun({"preview", input, "--size", "213x213", "--output", output}).code, 0);
  EXPECT_NE(TempDir::Read(output).find("d=\"M 2 151 L 201 151 L 201 52 L 2 52 L 2 151\""), std::string::npos);
  EXPECT_EQ(CliRun({"preview", input, "--size", "213", "--output", output}).code, 2);
  EXPECT_EQ(CliRun({"preview", input, "--size", "0x10", "--output", output}).code, 2);
  // The picture is SVG: a .png of it was written and would not open. Refused before the
  // drawing is read.
  const std::string png = (dir.Path() / "p.png").string();
  const CliRun refused({"preview", (dir.Path() / "missing.plt").string(), "--size", "40x30", "--output", png});
  EXPECT_EQ(refused.code, 2);
  EXPECT_EQ(refused.err, "plotgate: the picture is SVG, so " + png + " cannot hold it: name the output FILE.svg\n");
  EXPECT_FALSE(std::filesystem::exists(png));
  EXPECT_EQ(CliRun({"preview", input, "--size", "40x30", "--output", (dir.Path() / "P.SVG").string()}).code, 0);
  EXPECT_EQ(CliRun({"preview", input, "--size", "40x30", "--output", (dir.Path() / "picture").string()}).code, 0);
  // With a media width, its far edge: 50 mm (2000 units) to the left of the job's right
  // side at x = 2032, so 32 units right of its left side, drawn at 2 px; the job's 2032
  // units fill the 213 - 13 = 200 px used: 2 + 200 x 32 / 2032 = 5.15 px, down the whole
  // picture. Caught: the edge measured from the left side (at 198.85 px).
  ASSERT_EQ(CliRun({"preview", input, "--size", "213x213", "--media-width", "50", "--output", output}).code, 0);
  EXPECT_NE(TempDir::Read(output).find("stroke-dasharray=\"4 3\" d=\"M 5.15 0 L 5.15 213\""), std::string::npos)
      << TempDir::Read(output);
}

}  // namespace

namespace {

TEST(CliToolbar, EditsEachFileAndReportsUnreadableOnes) {
  TempDir dir;
  const std::string a = dir.Write("a.xml", "<uiConfig><items/></uiConfig>");
  const std::string b = dir.Write("b.xml", "<uiConfig><items/></uiConfig>");
  const std::string missing = (dir.Path() / "missing.xml").string();
  CliRun add({"toolbar", "add", a, missing, b});
  EXPECT_EQ(add.code, 1);
  EXPECT_EQ(add.out, a + ": added\n" + b + ": added\n");
  EXPECT_NE(add.err.find("missing.xml"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(missing));  // nothing is created
  EXPECT_NE(TempDir::Read(a).find("<itemData guid="), std::string::npos);
  EXPECT_EQ(TempDir::Read(a), TempDir::Read(b));
  CliRun remove({"toolbar", "remove", a});
  EXPECT_EQ(remove.code, 0);
  EXPECT_EQ(remove.err, "");
  EXPECT_EQ(TempDir::Read(a), "<uiConfig><items>\r\n</items></uiConfig>");
}

TEST(CliToolbar, SaysWhatWasDoneAndRefusesFilesThatAreNotWorkspaces) {
  TempDir dir;
  const std::string a = dir.Write("a.xml", "<uiConfig><items/></uiConfig>");
  EXPECT_EQ(CliRun({"toolbar", "remove", a}).out, a + ": nothing to remove\n");
  EXPECT_EQ(CliRun({"toolbar", "add", a}).code, 0);
  const std::string added = TempDir::Read(a);
  const CliRun again({"toolbar", "add", a});
  EXPECT_EQ(again.out, a + ": already there\n");
  EXPECT_EQ(TempDir::Read(a), added);
  EXPECT_EQ(CliRun({"toolbar", "remove", a}).out, a + ": removed\n");

  const struct {
    const char* name;
    std::string text;
    const char* reason;
  } refused[] = {
      {"plain.txt", "just some words\n", "not well-formed XML"},
      {"random.bin", std::string("\x89\x01\xff\0\x7f<\x02", 7), "not"},
      {"broken.xml", "<uiConfig><items></uiConfig", "not well-formed XML"},
      {"other.xml", "<config><items/></config>", "not a CorelDRAW workspace"},
      {"empty.xml", "", "it is empty"},
  };
  for (const auto& file : refused) {
    const std::string path = dir.Write(file.name, file.text);
    const CliRun run({"toolbar", "add", path});
    EXPECT_EQ(run.code, 1) << file.name;
    EXPECT_EQ(run.out, "") << file.name;
    EXPECT_EQ(run.err.rfind("plotgate: cannot edit the workspace file " + path + ": ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(file.reason), std::string::npos) << run.err;
    EXPECT_EQ(TempDir::Read(path), file.text) << file.name;
  }
}

TEST(CliToolbar, UsageErrors) {
  TempDir dir;
  const std::string a = dir.Write("a.xml", "<uiConfig/>");
  EXPECT_EQ(CliRun({"toolbar", "add"}).code, 2);
  EXPECT_EQ(CliRun({"toolbar", "frob", a}).code, 2);
  EXPECT_EQ(CliRun({"toolbar", "add", "--registry", a}).code, 2);
}

}  // namespace

namespace {

const char* ODD_JOB = "IN;SP1;PU0,0; PD400,0;\r\npd1,1;PD4000,0;PD 9,9;PD99999999999,0;SP0;";
const std::string ODD_WARNING =
    ": 2 commands were not understood and skipped (the first at line 1, column 14), 1 command lacked its numbers "
    "and took earlier ones (at line 2, column 16), 1 coordinate beyond 32 bits was clamped (at line 2, column 23); "
    "the cut will differ from the drawing\n";

TEST(CliReadWarning, OneLineWithCountsAndFirstPlaces) {
  TempDir dir;
  const std::string input = dir.Write("odd.plt", ODD_JOB);
  const CliRun info({"info", input});
  EXPECT_EQ(info.code, 0);
  EXPECT_EQ(info.err, "plotgate: warning: " + input + ODD_WARNING);
  EXPECT_EQ(info.out, CliRun({"info", dir.Write("same.plt", "PU0,0;PD4000,0;PD99999999999,0;")}).out);

  const std::string longCommand = "PU0,0;PD4000,0;PD1,1" + std::string(300, 'x') + ";";
  const std::string cut = dir.Write("cut.plt", longCommand + "\n" + longCommand);
  EXPECT_EQ(CliRun({"info", cut}).err, "plotgate: warning: " + cut +
                                           ": 2 commands longer than 255 bytes were cut short (the first at line 1, "
                                           "column 16); the cut will differ from the drawing\n");
}

TEST(CliReadWarning, EveryCommandThatLoadsAJobWarns) {
  TempDir dir;
  const std::string input = dir.Write("odd.plt", ODD_JOB);
  const std::string warning = "plotgate: warning: " + input + ODD_WARNING;
  const CliRun encode({"encode", input, "--model", "4", "--output", (dir.Path() / "a.hb").string()});
  EXPECT_EQ(encode.code, 0);
  EXPECT_EQ(encode.err, warning);
  const CliRun preview({"preview", input, "--size", "40x30", "--output", (dir.Path() / "a.svg").string()});
  EXPECT_EQ(preview.code, 0);
  EXPECT_EQ(preview.err, warning);
  const CliRun send(
      {"send", input, "--model", "Robin-Series", "--port", "COM0", "--ini", (dir.Path() / "Plotgate.ini").string()});
  EXPECT_EQ(send.code, 1);
  EXPECT_EQ(send.err.rfind(warning + "plotgate: opening COM0: ", 0), 0u) << send.err;
  // Skipped commands can be why nothing is left to cut: both are said.
  const std::string lower = dir.Write("lower.plt", "in;pu0,0;pd400,0;");
  EXPECT_EQ(CliRun({"info", lower}).err,
            "plotgate: warning: " + lower +
                ": 3 commands were not understood and skipped (the first at line 1, column 1); the cut will differ "
                "from the drawing\nplotgate: no outlines in " +
                lower + "\n");
}

TEST(CliReadWarning, TheExamplesAndWhatChangesNothingGiveNone) {
  for (const char* name : {"circle.plt", "cut-word.plt", "rounded-rectangle.plt", "star.plt", "test-cut.plt"}) {
    const CliRun run({"info", std::string(PLOTGATE_EXAMPLES) + "/" + name});
    EXPECT_EQ(run.code, 0) << name;
    EXPECT_EQ(run.err, "") << name;
  }
  TempDir dir;
  const CliRun quiet({"info", dir.Write("quiet.plt", "IN;SP1;;PU0,0;PD;\r\nPD4000,0;SP2;PU-2147483648,0;SP0;\r\n")});
  EXPECT_EQ(quiet.err, "");
}

// With nothing remembered, the test cut written out is the example drawing encoded, for
// every model, with and without tool options; a DM/PL model given a force says once that
// it is not sent. Caught: a test cut that drifts from the example or takes a job choice, a
// force sent to DM/PL, or the refusal said not at all, twice, or for HPGL models.
TEST(CliTestCut, OutputEqualsEncodingTheExampleForEveryModel) {
  TempDir dir;
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  const std::string example = std::string(PLOTGATE_EXAMPLES) + "/test-cut.plt";
  const std::vector<std::vector<std::string>> toolOptions = {{}, {"--force", "80", "--speed", "20"}};
  for (int model = 0; model < MODEL_COUNT; ++model) {
    for (const std::vector<std::string>& tool : toolOptions) {
      std::vector<std::string> testcut = {"testcut", "--model", ModelTable[model].name, "--ini", ini, "--output", "-"};
      std::vector<std::string> encode = {"encode", example, "--model", ModelTable[model].name, "--output", "-"};
      testcut.insert(testcut.end(), tool.begin(), tool.end());
      encode.insert(encode.end(), tool.begin(), tool.end());
      const CliRun cut(testcut), encoded(encode);
      SCOPED_TRACE(ModelTable[model].name);
      EXPECT_EQ(cut.code, 0);
      EXPECT_EQ(cut.out, encoded.out);
      const bool dmpl = JobFormatOfModel(model).dialect == DialectDmpl;
      const std::string refusal = !tool.empty() && dmpl ? "plotgate: " + std::string(ModelTable[model].name) +
                                                              " speaks DM/PL: the force (80 g) is not sent; set it "
                                                              "on the cutter\n"
                                                        : "";
      EXPECT_EQ(cut.err, refusal);
      EXPECT_EQ(encoded.err, refusal);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(ini));  // nothing remembered, nothing created
}

// HPGL from other programs: a square in one "PD" cut as its first side only, or settings
// of speed and force dropped without a word.
TEST(CliOtherPrograms, SquareInOnePenDownIsFourLinesAndSettingsAreNamed) {
  TempDir dir;
  const std::string square = dir.Write("square.plt", "IN;VS10;FS40;SP1;PU;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;SP0;");
  const CliRun run({"info", square, "--detail", "--ini", (dir.Path() / "Plotgate.ini").string()});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.rfind("100.00 x 100.00 mm (across the roll x along the feed)\npaths: 1\ncut length: 400.0 mm\n", 0),
            0u)
      << run.out;
  EXPECT_EQ(run.err, "plotgate: warning: " + square +
                         ": skipped the commands that set the pen, speed or force (VS, FS): the cutter keeps its own "
                         "settings\n");
}

// A drawing saved as SVG, PDF or EPS read as commands that are all skipped: "no outlines"
// and no word of what the file is.
TEST(CliOtherPrograms, SvgPdfAndEpsAreNamedAndRefused) {
  TempDir dir;
  const struct {
    const char* name;
    const char* text;
    const char* what;
  } files[] = {
      {"star.svg", "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n", "an SVG drawing"},
      {"star.pdf", "%PDF-1.4\n", "a PDF document"},
      {"star.eps", "%!PS-Adobe-3.0 EPSF-3.0\n", "an EPS or PostScript drawing"},
  };
  for (const auto& file : files) {
    const std::string input = dir.Write(file.name, file.text);
    const CliRun run({"info", input});
    EXPECT_EQ(run.code, 1) << file.name;
    EXPECT_EQ(run.err, "plotgate: " + input + " is " + file.what +
                           ", not HPGL: save it from your drawing program as HPGL (in Inkscape: Save a Copy, \"HP "
                           "Graphics Language file\")\n");
  }
}

// A file of `size` bytes: one line to cut, then line feeds, which the reader drops.
std::string InputOfSize(const TempDir& dir, size_t size) {
  const std::string job = "PU0,0;PD4000,0;";
  return dir.Write("large-" + std::to_string(size) + ".plt", job + std::string(size - job.size(), '\n'));
}

TEST(CliLargeInput, SaysWhatItReadsOnStderrFirst) {
  TempDir dir;
  const std::string large = InputOfSize(dir, 5000000);
  const CliRun info({"info", large});
  EXPECT_EQ(info.code, 0);
  EXPECT_EQ(info.err, "plotgate: reading " + large + " (5.0 MB)...\n");
  EXPECT_EQ(info.out, "100.00 x 0.00 mm (across the roll x along the feed)\n");
  // Only stderr: the job on standard output stays the job.
  const std::string file = (dir.Path() / "large.hb").string();
  ASSERT_EQ(CliRun({"encode", large, "--model", "4", "--output", file}).code, 0);
  const CliRun encode({"encode", large, "--model", "4", "--output", "-"});
  EXPECT_EQ(encode.out, TempDir::Read(file));
  EXPECT_EQ(encode.err, "plotgate: reading " + large + " (5.0 MB)...\n");
  EXPECT_EQ(CliRun({"info", InputOfSize(dir, 4999999)}).err, "");
}

TEST(CliOutput, DashWritesTheSameBytesToStandardOutput) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", JOB);
  for (const char* model : {"1", "4"}) {
    const std::string file = (dir.Path() / "job.hb").string();
    ASSERT_EQ(CliRun({"encode", input, "--model", model, "--blade-offset", "0.38", "--output", file}).code, 0);
    const CliRun dash({"encode", input, "--model", model, "--blade-offset", "0.38", "--output", "-"});
    EXPECT_EQ(dash.code, 0);
    EXPECT_EQ(dash.err, "");
    EXPECT_EQ(dash.out, TempDir::Read(file)) << model;
  }
  const std::string svg = (dir.Path() / "p.svg").string();
  ASSERT_EQ(CliRun({"preview", input, "--size", "80x60", "--output", svg}).code, 0);
  const CliRun picture({"preview", input, "--size", "80x60", "--output", "-"});
  EXPECT_EQ(picture.code, 0);
  EXPECT_EQ(picture.err, "");
  EXPECT_EQ(picture.out, TempDir::Read(svg));
  EXPECT_NE(picture.out.find("<svg"), std::string::npos);
}

TEST(CliOutput, DashIsNeverTheInputAndFailuresSayWhy) {
  TempDir dir;
  // A drawing named "-" in the working folder is still not the output.
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  dir.Write("-", JOB);
  const CliRun dash({"encode", "-", "--model", "4", "--output", "-"});
  const CliRun picture({"preview", "-", "--size", "40x30", "--output", "-"});
  std::filesystem::current_path(saved);
  EXPECT_EQ(dash.code, 0) << dash.err;
  EXPECT_EQ(dash.out.substr(0, 3), ";:H");
  EXPECT_EQ(picture.code, 0) << picture.err;
  EXPECT_EQ(picture.out.substr(0, 4), "<svg");
  EXPECT_EQ(TempDir::Read((dir.Path() / "-").string()), JOB);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // nothing else written

  const CliRun unwritable(
      {"preview", dir.Write("job.plt", JOB), "--size", "40x30", "--output", (dir.Path() / "no" / "p.svg").string()});
  EXPECT_EQ(unwritable.code, 1);
  EXPECT_EQ(unwritable.err.rfind("plotgate: cannot write " + (dir.Path() / "no" / "p.svg").string() + ": ", 0), 0u)
      << unwritable.err;
  EXPECT_GT(unwritable.err.size(),
            ("plotgate: cannot write " + (dir.Path() / "no" / "p.svg").string() + ": \n").size());
}

}  // namespace
