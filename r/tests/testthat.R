library(testthat)
library(dendrocompare)
test_check("dendrocompare")
