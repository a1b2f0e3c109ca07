object Broken1: TBrokenForm
  object Button1: TTestItem
    Captoin = 'Dalej'
  end
end
