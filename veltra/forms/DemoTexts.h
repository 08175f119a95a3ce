#pragma once

#include <array>
#include <string_view>

// The fixed texts of the intro form, the Demos tab, the About box and the help commands.
// Captions keep the form designer's "&&", shown as one "&".

namespace veltrana::forms {

inline constexpr std::string_view kIntroCaption = "Introduction to Quenlith Based Software";
inline constexpr std::string_view kIntroTitle = "Veltrana\u2122  Intro && Demos";
inline constexpr std::string_view kIntroSentence1 =
    "Veltrana\u2122 program determines the 'optimal' Pole/Zero constellation of a filter's "
    "transfer function with given input and output data in the frequency domain.";
inline constexpr std::string_view kIntroSentence2 =
    "Veltrana\u2122 finds the pole-zero locations of a transfer function, H(s), for the optimum "
    "matched filter.  H(s) = Desired Signal out (Yout) divided by given input signal (Yin) where "
    "both Yout and Yin are given in the frequency domain.";
inline constexpr std::string_view kIntroRun = "&Run a Demo";
inline constexpr std::string_view kIntroCreate = "&Create Your Data";
inline constexpr std::string_view kIntroExit = "E&xit";

inline constexpr std::string_view kDemosTitle = "Veltrana\u2122  Demos";
inline constexpr std::string_view kDemosSentence1 =
    "Select a Matched filter problem from the list below for your demo run.  Note the "
    "approximate run time for your chosen problem.  (These times were for a 486/33 PC; today a "
    "demo takes seconds.)  A progress window shows the optimiser's listing for this run-time "
    "period.  When a solution is found, Veltrana\u2122 will then display output text and a graph "
    "or two.";
inline constexpr std::string_view kDemoHeader = "Veltrana problem with ... _______________________";
inline constexpr std::string_view kDemoFileName = "File Name ________";
inline constexpr std::string_view kDemoRunTime = "Run Time (Seconds)";
inline constexpr std::string_view kRunDemo = "&Run Demo";
inline constexpr std::string_view kCancelDemo = "&Cancel";

/// One shipped example problem: its file name (the option's caption), the run time shown in
/// seconds (a fixed text, never measured) and its description.
struct DemoExample {
    std::string_view file;
    std::string_view runTime;
    std::string_view description;
};
inline constexpr int kDemoCount = 7;
/// Exam_1 .. Exam_7; index 0 here is option 1.
inline constexpr std::array<DemoExample, kDemoCount> kDemoExamples{{
    {"Ex-Yzero.01", "550", "4 Poles && 3 (Omega) Zeros to equalize sidelobe peaks"},
    {"Ex-Yzero.02", "55", "'Ex-Yzero.01' with improved initial values from previous run"},
    {"Ex-CNTL.1", "170", "'Ex-Yzero.01' problem with Solver controls."},
    {"Ex-Delay.01", "170", "Equalize Group Delay, no specific Tmin, 'losless' Sigma Zero"},
    {"Ex-Delay.11", "140", "'Ex-Delay.01' problem with specific Tmin value"},
    {"Ex-Delay.12", "55", "'Ex-Delay.11' with improved initial values"},
    {"Ex-Zpair.1", "510", "'Ex-Yzero.01' with Omega Zeros replaced with 1 Zero Pair"},
}};

inline constexpr std::string_view kAboutCaption = "About ...";
inline constexpr std::string_view kOkay = "OK";

} // namespace veltrana::forms
