<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="3">
  <flow name="A" main="yes">
    <p unique="1">fine</p>
    <p unique="2">bell &#7; here</p>
  </flow>
</document>
