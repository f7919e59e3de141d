include(CMakeFindDependencyMacro)
find_dependency(Qt6 COMPONENTS Core Gui Widgets Sql)
include("${CMAKE_CURRENT_LIST_DIR}/KavSkinTargets.cmake")
