// Pieces shared by the subcommands of the command-line front end.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "cutter/SendSession.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/PlotJob.h"
#include "settings/Choices.h"

// Exit codes: 0 done, 1 failure (message on stderr), 2 usage error, 130 a send or frame
// stopped by Ctrl-C (as a shell reports a command ended by SIGINT).
const int EXIT_USAGE = 2;
const int EXIT_INTERRUPTED = 130;

// The --output name that stands for standard output, never for a file.
const char* const STANDARD_OUTPUT = "-";

// Adds INPUT, --mirror, --rotate, --inside-first, --shortest-travel, --weed-border MM
// (0.5 to 50), --passes N (1 to 5), --media-width MM (50 to 3000), --panels,
// --panel-overlap MM (0 to 50) and --panel-gap MM (0 to 500) to a subcommand; each option
// given sets its choice in `given`.
void AddJobOptions(CLI::App& command, std::string& input, Choices& given);

// Adds --passes N alone (AddJobOptions adds it too).
void AddPassesOption(CLI::App& command, Choices& given);

// Adds --model NAME|INDEX and the offset options.
void AddCutterOptions(CLI::App& command, Choices& given, bool modelRequired);

// Adds --blade-offset TEXT and --overcut TEXT (each ticks its check box and fills its
// edit), and the tool options.
void AddOffsetOptions(CLI::App& command, Choices& given);

// Adds --force G (1 to 1000) and --speed CMS (1 to 100), and --no-force and --no-speed,
// which turn them off. A value out of range or no whole number is a usage error:
// "plotgate: --force takes grams from 1 to 1000, not \"1200\"".
void AddToolOptions(CLI::App& command, Choices& given);

// Says once on stderr that a DM/PL model is not sent the force the choices in use set:
// "plotgate: Finch-Series speaks DM/PL: the force (80 g) is not sent; set it on the cutter".
void SayForceNotSent(const Choices& used);

// Why `text` is no distance that `option` ("--blade-offset" or "--overcut") takes: decimal
// digits with at most one "." (no sign, exponent, comma or words), no longer than the job
// file writer reads, from 0.01 to 2 mm for the blade offset or 5 mm for the over-cut;
// "" when it is one.
std::string DistanceProblem(const std::string& text, const std::string& option);

// Adds --model NAME|INDEX alone, setting `model` to the model's index. A name is taken
// regardless of case, and so is a beginning of only one model's name ("robin"); an unknown
// name is a usage error that lists the models, a beginning of several one that names them.
// Returns the option.
CLI::Option* AddModelOption(CLI::App& command, std::optional<int>& model);

// The job file format of the model at index `model` of the model table.
JobFormat JobFormatOfModel(int model);

// Writes the job file for the model of the choices in use (complete, as UsedChoices or
// Merged with DefaultChoices gives them) as its driver would have it written, to standard
// output when `path` is STANDARD_OUTPUT. Returns false, after a message on stderr saying
// why, when the file cannot be written.
bool WriteChosenJobFile(CPlotJob& job, const Choices& used, const std::string& path);

// The job file for the chosen model as WriteChosenJobFile writes it, appended to `bytes`
// in memory. False, after "plotgate: cannot encode the job: REASON" on stderr, when the
// job cannot be prepared for writing (no point left, not enough memory).
bool EncodeChosenJob(CPlotJob& job, const Choices& used, std::string& bytes);

// Why a pipeline step failed: the system's text for the error number of the file call
// that failed ("No space left on device"), otherwise the pipeline's ("not enough memory
// for this job").
std::string JobFailureReason(const JobFailure& why);

// What failed when the session's port `port` did not open, after "plotgate: ": "opening
// COM1 (/dev/ttyS0): " and the system's text with the usual remedy (the group to join, who
// may open it, what holds it), else that the port name is not a port number from 1 to 999
// (the only failure without a system error).
std::string OpenFailureText(const CSendSession& session, const std::string& port);
// Opens `session` on the driver of `model` at `port` as a send does (`usbSerialPort` as
// CSendSession::Open takes it). 0; 1 after a message on stderr when no driver serves the
// model (the dialog's words alone) or the port did not open ("plotgate: " and
// OpenFailureText).
int OpenCutter(CSendSession& session, const CutterModel& model, const std::string& port,
               const std::string& usbSerialPort);
// Why a write to the session's port failed: the system's text, else that the port did not
// take the whole piece.
std::string WriteFailureReason(const CSendSession& session);

// Loads `input` and applies the choices in use as the dialog would: with a rotation the
// rotation rebuild (mirrored first when mirrored), with the mirror alone the mirror, and
// the cut order and the panels on the result.
// Returns 0; 1, after a message on stderr saying why, when the input cannot be read, does
// not fit (too large, not enough memory) or holds no outline to cut; EXIT_USAGE, after
// the message, for panels without a media width ("plotgate: --panels needs the media width
// (--media-width MM)"), an overlap not below the media width less 10 mm, or more than 50
// panels ("plotgate: 51 panels of 50.00 mm: is the media width right?"), each refused
// before the input is read but the last. On stderr it first
// says that it reads an input of 5 MB or more, and after reading warns in one line of what
// the reader could not take as written, such as "plotgate: warning: job.plt: 2 commands
// were not understood and skipped (the first at line 1, column 4); the cut will differ
// from the drawing".
int LoadChosenJob(CPlotJob& job, const std::string& input, const Choices& used);

// The media-width guard on a loaded job: when the job (weed border included) is wider
// across the roll than the media of `used`, says so on stderr ("plotgate: the job is 310.00
// mm across the roll, wider than the media (120 mm): ...") and gives EXIT_USAGE for a
// command that refuses it (send, frame), or says it as a warning ("plotgate: warning: the
// job is ...") and gives 0. 0 when it fits or no media width is ticked.
int CheckMediaWidth(const CPlotJob& job, const Choices& used, bool refuse);

// Whether `output` cannot be written, told before the input is read: it names the file
// `input` already is (by any path), which writing would overwrite, or a folder that does
// not exist. Says why on stderr. STANDARD_OUTPUT is never refused.
bool OutputRefused(const std::string& input, const std::string& output);

// Writes `bytes` to the file `output`, or to standard output when it is STANDARD_OUTPUT.
// Returns false, after a message on stderr with the system's reason, when writing fails.
bool WriteOutput(const std::string& output, const std::string& bytes);

// Says `message` on stderr in a line of its own and gives the exit code of a failure, 1.
int Fail(const std::string& message);

// The exit code of a command whose output is what it was asked for (a listing, a job's
// detail): `exitCode`, or 1 after "plotgate: cannot write to standard output: REASON" on
// stderr when some of what it printed was lost (a full disk, a closed pipe).
int StdoutResult(int exitCode);
