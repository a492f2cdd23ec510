// woxnc HOST PORT: the package's network client (placeholder until written).
int main() { return 1; }
