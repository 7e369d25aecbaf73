# SPDX-License-Identifier: MIT
"""Beugwerk: every form of a German verb or infinitive phrase, as data.

``conjugate`` returns what ``beugwerk --json`` prints, as a dict with the same keys
(schema/conjugation.schema.json); ``conjugate_many`` does so for a sequence of phrases on
threads of its own; ``table`` gives the table of the command line. All of it comes from the
C++ library: nothing is worked out in Python.

>>> import beugwerk
>>> c = beugwerk.conjugate("sich anziehen")
>>> c["analysis"]["separablePrefix"], c["tenses"]["perfekt"][0]["main"]
('an', 'habe mich angezogen')
"""
from ._beugwerk import Error, __version__, conjugate, conjugate_many, lookup, set_verb_lists, table

# lookup(form), from a form back to its verbs, joins these once the library has it.
__all__ = ["Error", "conjugate", "conjugate_many", "lookup", "set_verb_lists", "table"]
