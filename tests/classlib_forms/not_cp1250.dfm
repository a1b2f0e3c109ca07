object Bad1: TBadForm
  Caption = 'Ж'
end
