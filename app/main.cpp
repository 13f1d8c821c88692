// placeholder: the windowed program
int main() { return 0; }
