// Each subcommand of `plotgate` adds itself to the application; its callback sets the
// process exit code in `exitCode`. `program` is the name the program was run by, for the
// commands it prints.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

void AddInfoCommand(CLI::App& app, int& exitCode);
void AddEncodeCommand(CLI::App& app, int& exitCode);
void AddPreviewCommand(CLI::App& app, int& exitCode);
void AddSendCommand(CLI::App& app, int& exitCode, const std::string& program);
void AddPortsCommand(CLI::App& app, int& exitCode);
void AddModelsCommand(CLI::App& app, int& exitCode);
void AddToolbarCommand(CLI::App& app, int& exitCode);
void AddCheckCommand(CLI::App& app, int& exitCode);
void AddFrameCommand(CLI::App& app, int& exitCode);
void AddMarksCommand(CLI::App& app, int& exitCode);
void AddPresetsCommand(CLI::App& app, int& exitCode);
void AddTestCutCommand(CLI::App& app, int& exitCode, const std::string& program);
