#pragma once
#include <QString>

#include <exception>
#include <string>

// A run-time error with a number and a description, as the error box shows it.
class gRuntimeError : public std::exception {
public:
    gRuntimeError(int number, const QString& description);
    int number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    std::string what_;
};

// Common error numbers.
namespace gErr {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyOpen = 55;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int ObjectNotSet = 91;
constexpr int ResourceNotFound = 326;
constexpr int InvalidPicture = 481;
} // namespace gErr

// The standard description of an error number ("" when it has none).
QString gErrorText(int number);

[[noreturn]] void gRaise(int number, const QString& description = {});

// The error currently being handled (inside a catch block), as number and text.
// Anything that is not a gRuntimeError becomes a generic error.
gRuntimeError gCurrentError();

// Ends the program at once: closes the database connection when open, then exits.
// The settings store is synced on every write, so a setting written just before
// is not lost. Nothing else is cleaned up.
[[noreturn]] void gEndProgram(int exitCode = 0);
// Work that must happen even on such an end (the database module registers its close).
void gAtEndProgram(void (*fn)());

namespace gEndSeam {
// Tests replace the final exit (e.g. with a throw); the clean-up still runs.
using Handler = void (*)(int);
void setHandler(Handler h);
} // namespace gEndSeam
