# SPDX-License-Identifier: MIT
# The module's types: the dicts mirror schema/conjugation.schema.json key for key.
import os
from typing import Iterable, Iterator, Literal, Optional, TypedDict, Union

from typing_extensions import NotRequired

__version__: str

Orthography = Literal["neu", "alt", "ch"]

class Error(Exception): ...

class MarkedForm(TypedDict):
    form: Optional[str]
    alternatives: list[str]

class Form(TypedDict):
    form: Optional[str]  # None where the verb has no such form
    alternatives: list[str]
    marked: NotRequired[MarkedForm]  # only when the input carried stress marks

class MarkedPerson(TypedDict):
    main: Optional[str]
    mainAlternatives: list[str]
    sub: Optional[str]
    subAlternatives: list[str]

class Person(TypedDict):
    person: int  # 1 ich, 2 du, 3 er/sie/es, 4 wir, 5 ihr, 6 sie
    pronoun: str
    main: Optional[str]  # main-clause order: "ziehe mich an"
    mainAlternatives: list[str]
    sub: Optional[str]  # subordinate-clause order: "mich anziehe"
    subAlternatives: list[str]
    marked: NotRequired[MarkedPerson]

class Reflexive(TypedDict):
    case: Literal["accusative", "dative"]
    optional: bool

class Analysis(TypedDict):
    infinitive: Optional[str]
    phrase: Optional[str]
    separablePrefix: Optional[str]
    inseparablePrefix: Optional[str]
    reflexive: Optional[Reflexive]
    impersonal: bool
    pluralOnly: bool
    conjugation: Optional[Literal["weak", "strong", "mixed"]]
    auxiliary: Literal["haben", "sein", "both", "undecided"]
    meaningDifferences: bool

class Reading(TypedDict):
    input: str
    separable: bool
    gloss: str

class NonFinite(TypedDict):
    infinitivI: Form
    infinitivII: Form
    partizipI: Form
    partizipII: Form
    imperativSingular: Form
    imperativPlural: Form

class Tenses(TypedDict):  # six persons each
    praesens: list[Person]
    praeteritum: list[Person]
    perfekt: list[Person]
    plusquamperfekt: list[Person]
    futurI: list[Person]
    futurII: list[Person]
    konjunktivI: list[Person]
    konjunktivII: list[Person]

class Conjugation(TypedDict):
    input: str
    orthography: Orthography
    decided: bool
    readings: list[Reading]
    analysis: Analysis
    meaningNote: Optional[str]
    nonFinite: NonFinite
    tenses: Tenses

class Failure(TypedDict):
    input: str
    error: str  # the engine's German message

def conjugate(phrase: str, ortho: Orthography = "neu") -> Union[Conjugation, Failure]: ...
def conjugate_many(
    phrases: Iterable[str], ortho: Orthography = "neu", jobs: int = 1
) -> Iterator[Union[Conjugation, Failure]]: ...
def table(phrase: str, ortho: Orthography = "neu") -> str: ...
def set_verb_lists(path: Union[str, os.PathLike[str], None]) -> None: ...

class LookupForm(TypedDict, total=False):
    tense: str  # "praesens", "praeteritum", ..., "partizip2", "imperativ"
    mood: Literal["indikativ", "konjunktiv"]
    person: int  # 1..3
    number: Literal["singular", "plural"]
    clause: Literal["main", "sub"]
    voice: Literal["passive"]
    text: str  # "ich ging"

class LookupVerb(TypedDict):
    infinitive: str
    listed: bool
    forms: list[LookupForm]

class LookupFailure(TypedDict):
    error: str

def lookup(form: str, ortho: Orthography = "neu") -> Union[list[LookupVerb], LookupFailure]: ...
