# Writes KAVSkinVersion.h (KAVSKIN_VERSION, KAVSKIN_VERSION_STR, KAVSKIN_VERSION_CHECK) from the
# project's version into OUTPUT_DIR; the library and the fuzz targets include it from there.
# A version without a minor or patch number ("1.2") counts them as 0.
function(kav_write_version_header output_dir)
  set(KAV_VERSION_MINOR "${PROJECT_VERSION_MINOR}")
  set(KAV_VERSION_PATCH "${PROJECT_VERSION_PATCH}")
  if("${KAV_VERSION_MINOR}" STREQUAL "")
    set(KAV_VERSION_MINOR 0)
  endif()
  if("${KAV_VERSION_PATCH}" STREQUAL "")
    set(KAV_VERSION_PATCH 0)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/skin/core/KAVSkinVersion.h.in ${output_dir}/KAVSkinVersion.h @ONLY)
endfunction()
