# Writes the package's PPD files (generation 2, gzip-compressed, into the
# package tree's ppd/) and the generation-1 PPD files that tests and the demo
# create queues from (plain, into the build's fixtures).
#   cmake -DPPDGEN=... -DMODELS=... -DPKG_PPD=... -DGEN1=... -DGZIP=... -P generate.cmake
foreach(dir ${PKG_PPD} ${GEN1})
  file(GLOB old ${dir}/*.ppd ${dir}/*.ppd.gz)
  if(old)
    file(REMOVE ${old})
  endif()
  file(MAKE_DIRECTORY ${dir})
endforeach()
execute_process(COMMAND ${PPDGEN} ${MODELS} 2 ${PKG_PPD} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ppdgen (generation 2) failed: ${rc}")
endif()
execute_process(COMMAND ${PPDGEN} ${MODELS} 1 ${GEN1} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ppdgen (generation 1) failed: ${rc}")
endif()
file(GLOB plain ${PKG_PPD}/*.ppd)
execute_process(COMMAND ${GZIP} -9nf ${plain} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed: ${rc}")
endif()
