#include "QuintorApplication.h"
#include "StartUp.h"

int main(int argc, char *argv[]) {
  quintor::TQuintorApplication App(argc, argv);
  return quintor::RunQuintor(App);
}
