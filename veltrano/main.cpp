// Veltrano: flashes the entries of a word module in a strip above all windows.

#include "presentation/form2.h"
#include "presentation/presentationstate.h"
#include "tracing/veltranoapplication.h"

int main(int argc, char** argv) {
    veltrano::VeltranoApplication::preferX11(argc, argv);
    veltrano::VeltranoApplication app(argc, argv);

    // Until the main window takes this over: present module 4 ("A") every 15 seconds.
    veltrano::Presentation::WordInterval = 15;
    veltrano::Presentation::SelectedModule = 4;
    veltrano::Presentation::running = true;
    veltrano::Form2::load();
    return 0;
}
