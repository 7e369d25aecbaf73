# find_package(Beugwerk): the target Beugwerk::beugwerk and what its static libraries need.
include(CMakeFindDependencyMacro)
find_dependency(ICU COMPONENTS uc i18n)
find_dependency(ZLIB)
find_dependency(Threads)
include(${CMAKE_CURRENT_LIST_DIR}/BeugwerkTargets.cmake)
