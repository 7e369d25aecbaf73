// SPDX-License-Identifier: MIT
// Prints the Präsens of a phrase, then its whole conjugation as JSON.
#include <beugwerk/beugwerk.h>

#include <iostream>

int main(int argc, char** argv) {
  const beugwerk::Conjugation c = beugwerk::Conjugate(argc > 1 ? argv[1] : "sich anziehen");
  if (!c.ok()) {
    std::cerr << c.error << "\n";
    return 1;
  }
  for (const beugwerk::PersonForms& p : c.tense(beugwerk::Tense::Praesens))
    std::cout << p.pronoun << " " << p.main.text << "\n";
  std::cout << beugwerk::ToJson(c) << "\n";
}
