#pragma once

// Registers every form of the program with the form registry.
void gRegisterForms();

// Runs the program: the application object, the forms, Main and the event loop.
int gRunProgram(int argc, char** argv);
