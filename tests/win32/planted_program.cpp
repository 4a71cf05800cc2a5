// Stands in for a program planted in a Downloads folder under a system program's name: an
// ordinary executable (no system stub that Wine would swap for its own program) whose only
// effect is its exit code.
int main() { return 42; }
