#pragma once

#include "Captions.h"

#include <array>
#include <string_view>
#include <utility>

// Every fixed text of the main form lives here, once. Captions keep the "&&" of the form
// designer: labels, buttons and tabs all show it as one "&".

namespace veltrana::forms {

inline constexpr int kQuestionCount = 22;
inline constexpr int kTabCount = 8;
inline constexpr int kPassTab = 4;
inline constexpr int kDelayTab = 5;
inline constexpr int kDemosTab = 1;

inline constexpr std::array<std::string_view, kTabCount> kTabCaptions{
    "&1. Start",         "&Demos",         "&2. Poles && Zeros",  "&3. Misc.",
    "&4. Passband Data", "&5. Delay Data", "&6. Solver Settings", "&7. Run"};

/// Captions of lblQuestion_1 .. lblQuestion_22 (index 0 here is label 1) and of the
/// settings' labels: the input file's comments come from the same texts.
using ::veltrana::kQuestionCaptions;
using ::veltrana::kSolverCaptions;

inline constexpr std::string_view kInstructions1 =
    "Instructions: Answer following questions; Save your responses into a file for later "
    "retrieval; and, submit responses for execution.";
inline constexpr std::string_view kNormalizeNote =
    " === Below here, location values must be normalized by X or Y-axis Norm value! === ";
inline constexpr std::string_view kArrowMovement =
    "Use Enter or Tab key to move between columns and Left, Right, Up && Down Arrow keys to "
    "enter/edit X && Y data values.";
inline constexpr std::string_view kSubmitNote =
    "'Submit' will run the optimiser while -all- Windows stay open: a progress window shows "
    "its listing, and Plots the results.  Thus, no need to close your windows first.";
inline constexpr std::string_view kHeaderQuestions = "Questions";
inline constexpr std::string_view kHeaderResponses = "Responses";
inline constexpr std::string_view kKeepNotes = "20. \u00bb Keep notes below ...";
inline constexpr std::string_view kCountS = "S:";
inline constexpr std::string_view kCountP = "P:";
inline constexpr std::string_view kCountQ = "Q:";
inline constexpr std::string_view kCheckYes = "Yes";
inline constexpr std::string_view kClearPassData = "&Clear Columns";
inline constexpr std::string_view kClearDelayData = "Cle&ar Columns";
inline constexpr std::string_view kSubmit = "Submit Batch &Run";
inline constexpr std::string_view kPlots = "View Past &Plots";

inline constexpr std::string_view kPassFormat4 =
    "#|^      Frequency|^                        Yin|^                     Yout;#";
inline constexpr std::string_view kPassFormat5 =
    "#|^      Frequency|^                        Yin|^                     Yout|^      "
    "Weight;#";
inline constexpr std::string_view kDelayFormat =
    "#|^      Frequency|^                   Delay (tx);#";

// The optimiser settings tab.
inline constexpr int kSolverCount = 9;
inline constexpr std::array<std::string_view, kSolverCount> kSolverFields{
    "Remax", "Detail", "Zero", "StepsLim", "StepOut", "EvalMax", "SetRho", "Ratio", "Accuracy"};
inline constexpr std::array<std::string_view, kSolverCount> kSolverShownDefaults{
    "5 10 7", "0  0  0", "1e-5 1e-5 1e-5", "100", "10", "2000", "1", "16", ".0001"};
inline constexpr std::array<std::string_view, kSolverCount> kSolverEditDefaults{
    "5  10  7", "0   0   0", "1e-5 1e-5 1e-5", "100", "10", "2000", "1", "16", ".0001"};
inline constexpr std::array<std::string_view, kSolverCount> kSolverStartTexts{
    "5 10 7", "0 0 0", "1e-5 1e-5 1e-5", "100", "10", "2000", "1", "16", ".0001"};
inline constexpr std::string_view kHeaderDefaults = "Default Values";
inline constexpr std::string_view kHeaderControl = "Control Questions";
inline constexpr std::string_view kInstructions4 =
    "For a definition of the following Solver control variables read the Manual (Help > "
    "Manual ...).";
/// The SETRHO label with the names the manual and the listing give its two methods; the
/// input file's comment keeps the caption as it stands.
inline constexpr std::string_view kSetRhoLabel =
    "7. \u00bb SETRHO: 1=> Newton-Raphson method (Levenberg-Marquardt); and,   2=> Same but use "
    "gradient when Hessian is indefinite (dogleg).";
inline constexpr std::string_view kEditDefaults = "&Edit Defaults";
inline constexpr std::string_view kUseDefaults = "&Use Defaults";

using ::veltrana::kNote1Start;
using ::veltrana::kNote2Start;

} // namespace veltrana::forms

namespace veltrana::forms {

/// Control bound to each answer slot 0..21; slot 15 is spread over the three count fields.
inline constexpr std::array<std::string_view, 22> kSlotControls{
    "chkEqualDelay", "tmin",       "DelRipplePower", "iPower",   "chkUseWeights", "magnVSripple",
    "freqNorm",      "nPoles",     "sigmaPoles",     "poleReal", "poleImag",      "chkSigmaZero",
    "sigmaZero",     "chkDoublet", "chkLossless",    "",         "Yzero",         "Zreal",
    "Zimag",         "Gain",       "LowestX_Y",      "maxX_Y"};
inline constexpr std::array<std::string_view, 3> kZeroCountFields{"nYzeros", "nZpairs", "nZquads"};

/// Start values of the text fields when no start-up values file is read.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 19> kFieldStartTexts{{
    {"tmin", "76.7"},
    {"DelRipplePower", "-2"},
    {"iPower", "-2"},
    {"magnVSripple", "10"},
    {"freqNorm", "10"},
    {"nPoles", "1  4"},
    {"sigmaPoles", ".02"},
    {"poleReal", ".1 .1 .1 .1"},
    {"poleImag", ".2 .3 .4 .5"},
    {"sigmaZero", ".05"},
    {"nYzeros", "0"},
    {"nZpairs", "0"},
    {"nZquads", "0"},
    {"Yzero", "1.111"},
    {"Zreal", ".01"},
    {"Zimag", ".01"},
    {"Gain", "1"},
    {"LowestX_Y", ".005"},
    {"maxX_Y", "22"},
}};

/// Fields that select their whole text when they receive the focus.
inline constexpr std::array<std::string_view, 17> kSelectAllOnFocus{
    "tmin",     "DelRipplePower", "iPower",    "magnVSripple", "freqNorm", "sigmaPoles",
    "poleReal", "poleImag",       "sigmaZero", "Yzero",        "Zreal",    "Zimag",
    "Note1",    "Note2",          "Remax",     "Detail",       "Zero"};

} // namespace veltrana::forms
