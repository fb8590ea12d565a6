// Linked with every object of the core and with Qt Core and Gui alone: it
// builds only while the core needs no widgets and no printer driver.
int main() { return 0; }
