// The subcommands of longhand-calc. Each one registers itself from its own
// source file with a CommandRegistrar, so a new command is a new file:
//
//   static const longhand::cli::CommandRegistrar fact({"fact", {"N"}, "N!", 60, runFact, "30"});
//
// This one table feeds the usage text, with its example lines, the
// suggestion for a mistyped command and the shells' completion (which asks
// for `longhand-calc --commands`).
#pragma once

#include "engine/outcome.h"
#include "engine/progress.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace longhand::cli {

struct Command {
    std::string name;                  // the word on the command line
    std::vector<std::string> operands; // their names, for the usage text; "[F]": optional, last;
                                       // "...": any count more of the one before
    std::string summary;               // what it prints, one line
    int order = 0;                     // place in the usage text, ascending
    // Runs with exactly operands.size() operand texts (files already read;
    // a missing optional operand is ""). A refusal is said in the command
    // line's words (refusalwords.h), naming the operand by its name above.
    std::function<Outcome(std::vector<std::string>& operands, Progress& progress)> run;
    std::string example; // operands of one example line in the usage text: "12.5 -3"
    // Typed operands are handed over as typed, not checked as numbers (the
    // command checks them itself).
    bool textOperands = false;
    // A result cut after its last place says so on standard error.
    bool saysCut = false;
    // The command's own refusal of operands that `run` does not take, a
    // sentence naming the operand; nothing when they may run. Optional.
    std::function<std::optional<std::string>(const std::vector<std::string>& operands)> check = {};
    // The operands' names as the operation counts them, where they differ
    // from `operands` (sqrt runs root(X, 2, PLACES)); for the refusals.
    std::vector<std::string> refusalNames = {};
};

void registerCommand(Command command);

// Every registered command, in usage order.
std::vector<Command> commands();

// The command whose name is nearest to a mistyped `word`: one a few edits
// away, or one that begins with the word or that the word begins with;
// "" when none is near.
std::string nearestCommand(const std::string& word, const std::vector<Command>& all);

struct CommandRegistrar {
    explicit CommandRegistrar(Command command) { registerCommand(std::move(command)); }
};

} // namespace longhand::cli
