#pragma once

#include <QtGlobal>

class QProcess;

// Limits a program that AProcess starts afterwards, set in the child before
// it runs: the address space (a program that would read a huge input whole
// fails at once instead of filling the machine's memory) and the main
// thread's stack (as a host with a small stack would run it). Under
// AddressSanitizer the address space is left alone: its shadow memory
// needs far more than any sensible limit.
void LimitAddressSpace(QProcess& AProcess, qint64 ABytes);
void LimitStack(QProcess& AProcess, qint64 ABytes);
